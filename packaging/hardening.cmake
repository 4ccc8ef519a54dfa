# The hardening a distribution builds its packages with: fortified string
# and memory functions, the strong stack protector, and full RELRO with
# BIND_NOW. The flags are the ones dpkg-buildflags gives (with every
# hardening feature asked for) where dpkg is installed, else the same set
# written out. Only the hardening flags are taken: the optimisation and
# debug flags stay the build type's. A sanitizer build is left alone (it
# is for testing, and fortify gets in the sanitizers' way); so is a Debug
# build, where fortify would only warn.
option(VORN_HARDENING "Release builds get the distribution's hardening flags" ON)

if(VORN_HARDENING AND NOT VORN_SANITIZE AND NOT CMAKE_BUILD_TYPE STREQUAL "Debug"
   AND NOT CMAKE_BUILD_TYPE STREQUAL "")
  set(_vorn_compile_hardening -U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2 -fstack-protector-strong)
  set(_vorn_link_hardening -Wl,-z,relro -Wl,-z,now)
  find_program(DPKG_BUILDFLAGS dpkg-buildflags)
  if(DPKG_BUILDFLAGS)
    set(_compile)
    set(_link)
    foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
      execute_process(
        COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                ${DPKG_BUILDFLAGS} --get ${kind}
        OUTPUT_VARIABLE _flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE _result)
      if(NOT _result EQUAL 0)
        continue()
      endif()
      separate_arguments(_flags UNIX_COMMAND "${_flags}")
      foreach(flag IN LISTS _flags)
        if(flag MATCHES "^-D_FORTIFY_SOURCE=|^-fstack-protector|^-fstack-clash-protection|^-fcf-protection")
          list(APPEND _compile ${flag})
        elseif(flag MATCHES "^-Wl,-z,")
          list(APPEND _link ${flag})
        endif()
      endforeach()
    endforeach()
    # Only when dpkg gave the whole set; a partial answer keeps the written one.
    if(_compile MATCHES "-D_FORTIFY_SOURCE=" AND _compile MATCHES "-fstack-protector"
       AND _link MATCHES "relro" AND _link MATCHES "now")
      list(REMOVE_DUPLICATES _compile)
      list(REMOVE_DUPLICATES _link)
      set(_vorn_compile_hardening -U_FORTIFY_SOURCE ${_compile})
      set(_vorn_link_hardening ${_link})
    endif()
  endif()
  add_compile_options(${_vorn_compile_hardening})
  add_link_options(${_vorn_link_hardening})
  message(STATUS "Hardening: ${_vorn_compile_hardening} ${_vorn_link_hardening}")
endif()
