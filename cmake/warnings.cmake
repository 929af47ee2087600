# Warnings are on and fatal for our own targets only; third-party code
# (GoogleTest, Google Benchmark) keeps its own settings.
function(lumaro_warnings target)
  # C++ only: the resource compiler of the executable takes none of these.
  target_compile_options(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion -Werror>)
  # GCC 12 (Debian 12's g++ and MinGW-w64) reports -Wrestrict false positives
  # inside std::string::insert/replace when optimising (GCC bug 105329), e.g.
  # for a plain text.insert(1, "b"); fixed in GCC 13.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-Wno-restrict>)
  endif()
endfunction()
