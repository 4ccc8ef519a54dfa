# Turns the build options into the compiled build configuration.

set(_vorn_families Kestal Merlo Dravo Pinto Sorel Tamso KestalBT All)
if(NOT VORN_MODEL IN_LIST _vorn_families)
  message(FATAL_ERROR "VORN_MODEL must be one of: ${_vorn_families}")
endif()
if(VORN_ENGINEERING)
  set(VORN_ENGINEERING_VALUE true)
else()
  set(VORN_ENGINEERING_VALUE false)
endif()

# The build date and time, in the compiler's __DATE__/__TIME__ shape,
# taken from SOURCE_DATE_EPOCH when it is set so that builds reproduce.
string(TIMESTAMP VORN_BUILD_MONTH "%m" UTC)
string(TIMESTAMP VORN_BUILD_DAY "%d" UTC)
string(TIMESTAMP VORN_BUILD_YEAR "%Y" UTC)
string(TIMESTAMP VORN_BUILD_TIME "%H:%M:%S" UTC)
set(_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
math(EXPR _month_index "${VORN_BUILD_MONTH} - 1")
list(GET _months ${_month_index} _month_name)
string(REGEX REPLACE "^0" " " _day "${VORN_BUILD_DAY}")
set(VORN_BUILD_DATE "${_month_name} ${_day} ${VORN_BUILD_YEAR}")

configure_file(${CMAKE_CURRENT_SOURCE_DIR}/build_constants.cpp.in
               ${CMAKE_CURRENT_BINARY_DIR}/build_constants.cpp @ONLY)
