# Both builds in one 64-bit prefix, each registered by the regsvr32 of its
# own bitness (tests/win32/both-bitnesses-test), in the 64-bit build, whose
# tree knows the 32-bit one from package.cmake. A machine that cannot run
# 32-bit programs skips it.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  add_test(NAME both_bitnesses_in_one_prefix
           COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/win32/both-bitnesses-test
                   ${CMAKE_BINARY_DIR}/both-bitnesses-test
                   ${other}/plugin/comquarnel.dll $<TARGET_FILE:comquarnel>
                   ${other}/tests/dialog_test.exe $<TARGET_FILE:dialog_test> ${progid} ${clsid} ${libid})
  set_tests_properties(both_bitnesses_in_one_prefix PROPERTIES
                       TIMEOUT 240 SKIP_RETURN_CODE 77 RESOURCE_LOCK display LABELS both_bitnesses)
endif()

# One folder per System32, Sysnative and SysWOW64 path, from the build of
# either bitness in one 64-bit prefix (tests/win32/native-folders-test); the
# 32-bit half where the machine runs 32-bit programs.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  add_test(NAME native_folders
           COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/win32/native-folders-test
                   ${CMAKE_BINARY_DIR}/native-folders-test
                   ${other}/plugin/comquarnel.dll $<TARGET_FILE:comquarnel>)
  set_tests_properties(native_folders PROPERTIES TIMEOUT 240 LABELS both_bitnesses)
endif()
