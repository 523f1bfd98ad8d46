# The release: package/make-release's MSIs and archive, signed and unsigned,
# its refusals, and the package of the build's bitness installed, upgraded
# and removed under Wine in fresh prefixes of its own. The identifiers come
# from com_ids.cmake.

# The release holds both builds, so the build of the other bitness is made
# too, its DLL and host only. ./quarnel points the two trees in build/ at
# each other; a tree configured by hand makes its own, inside it.
include(ExternalProject)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(other_toolchain mingw-i686-posix)
else()
  set(other_toolchain mingw-x86_64-posix)
endif()
set(QUARNEL_OTHER_BITNESS_BUILD ${CMAKE_BINARY_DIR}/other-bitness CACHE PATH
    "The Windows build tree of the other bitness, whose DLL and host the release takes")
set(other ${QUARNEL_OTHER_BITNESS_BUILD})
ExternalProject_Add(other_bitness
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${other}
  CMAKE_GENERATOR Ninja
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
             -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/${other_toolchain}.cmake
             -DQUARNEL_OTHER_BITNESS_BUILD=${CMAKE_BINARY_DIR}
  BUILD_COMMAND ${CMAKE_COMMAND} --build ${other} --target comquarnel quarnel-host
  BUILD_ALWAYS ON
  INSTALL_COMMAND "")

set(this_build $<TARGET_FILE:comquarnel> $<TARGET_FILE:quarnel-host>)
set(other_build ${other}/plugin/comquarnel.dll ${other}/host/quarnel-host.exe)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(both_builds ${other_build} ${this_build})
else()
  set(both_builds ${this_build} ${other_build})
endif()
add_test(NAME package_release
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/win32/package-test ${CMAKE_BINARY_DIR}/package-test
                 ${both_builds})
set_tests_properties(package_release PROPERTIES TIMEOUT 420)
