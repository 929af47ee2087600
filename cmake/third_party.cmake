# nlohmann/json is header-only. The cross compiler must never see the host's
# /usr/include (its libc headers would shadow MinGW's), so the package's own
# folder is copied into an include directory of its own inside the build tree.
set(lumaro_nlohmann_source /usr/include/nlohmann)
if(NOT EXISTS ${lumaro_nlohmann_source}/json.hpp)
  message(FATAL_ERROR "nlohmann/json not found: run scripts/setup")
endif()
set(lumaro_third_party_include ${CMAKE_BINARY_DIR}/third_party/include)
file(COPY ${lumaro_nlohmann_source} DESTINATION ${lumaro_third_party_include})
add_library(lumaro_nlohmann INTERFACE)
target_include_directories(lumaro_nlohmann SYSTEM INTERFACE ${lumaro_third_party_include})
target_compile_definitions(lumaro_nlohmann INTERFACE JSON_USE_IMPLICIT_CONVERSIONS=0)

# GoogleTest from Debian's sources, built for whichever target this tree is for.
if(LUMARO_TESTS)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()
