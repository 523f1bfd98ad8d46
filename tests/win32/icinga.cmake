# The host's Monitoring Plugins mode under a real monitoring core: Debian's
# Icinga 2 runs quarnel-host.exe of this build through this build's Wine
# launcher (tests/win32/icinga-test). Included from tests/CMakeLists.txt
# after tests/win32/com.cmake, whose registration it needs.
add_test(NAME icinga_plugin_mode
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/win32/icinga-test $<TARGET_FILE:quarnel-host>
                 ${CMAKE_CROSSCOMPILING_EMULATOR})
quarnel_requires_registration(icinga_plugin_mode)
set_tests_properties(icinga_plugin_mode PROPERTIES TIMEOUT 180)
