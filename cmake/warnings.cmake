# Warnings are on and fatal for our own targets only; third-party code
# (GoogleTest, Google Benchmark) keeps its own settings.
function(lumaro_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion -Werror)
endfunction()
