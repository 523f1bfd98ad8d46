# The release: package/make-release's MSI and archive, signed and unsigned,
# its refusals, and the MSI installed, upgraded and removed under Wine in
# fresh prefixes of its own. Included after com.cmake, which reads the
# identifiers from the IDL.
add_test(NAME package_release
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/win32/package-test ${CMAKE_BINARY_DIR}/package-test
                 $<TARGET_FILE:comquarnel> $<TARGET_FILE:quarnel-host> ${clsid} ${libid} ${iid})
set_tests_properties(package_release PROPERTIES TIMEOUT 300)
