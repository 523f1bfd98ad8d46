# The COM tests: registration of comquarnel.dll in the tests' Wine
# prefix, VBScript and C++ clients of the object, the type library, and the
# stand-in host with its trace viewer. Included from tests/CMakeLists.txt,
# where the GoogleTest programs of tests/win32 are defined.

set(wine_run ${CMAKE_SOURCE_DIR}/tests/win32/wine-run)
set(run_vbs ${CMAKE_SOURCE_DIR}/tests/win32/run-vbs)
set(prefix ${QUARNEL_TEST_PREFIX})

# regsvr32 in the prefix: $1 prefix, $2 the DLL, $3... regsvr32's switches.
set(regsvr32 [=[
prefix=$1 dll=$2; shift 2
exec "$0" "$prefix" regsvr32 "$@" "$("$0" "$prefix" winepath -w "$dll")"
]=])

add_test(NAME com_register
         COMMAND sh -c "${regsvr32}" ${wine_run} ${prefix} $<TARGET_FILE:comquarnel> /s)
set_tests_properties(com_register PROPERTIES
  FIXTURES_SETUP com_registered FIXTURES_REQUIRED wine_ready)

# Tests that create the object need the registration. The tests that take
# it away for a while run alone (RUN_SERIAL), so no other test misses it.
function(quarnel_requires_registration)
  set_tests_properties(${ARGN} PROPERTIES FIXTURES_REQUIRED "wine_ready;com_registered")
endfunction()

add_test(NAME com_object_vbs
         COMMAND ${run_vbs} ${prefix} ${CMAKE_CURRENT_SOURCE_DIR}/win32/com_object.vbs)
quarnel_requires_registration(com_object_vbs)

add_test(NAME com_unregister
         COMMAND sh -c [=[
regsvr32=$1 wine_run=$2 run_vbs=$3 prefix=$4 dll=$5 script=$6; shift 6
sh -c "$regsvr32" "$wine_run" "$prefix" "$dll" /u /s || { echo "regsvr32 /u failed"; exit 1; }
"$run_vbs" "$prefix" "$script" "$@"; status=$?
sh -c "$regsvr32" "$wine_run" "$prefix" "$dll" /s || { echo "registering again failed"; exit 1; }
exit $status
]=] com_unregister "${regsvr32}" ${wine_run} ${run_vbs} ${prefix} $<TARGET_FILE:comquarnel>
                 ${CMAKE_CURRENT_SOURCE_DIR}/win32/com_unregistered.vbs)
quarnel_requires_registration(com_unregister)
set_tests_properties(com_unregister PROPERTIES RUN_SERIAL TRUE)

quarnel_requires_registration(com_object_test host_test dbwin_monitor_test)
set_tests_properties(dbwin_monitor_test PROPERTIES TIMEOUT 120)
target_sources(dbwin_monitor_test PRIVATE ${CMAKE_SOURCE_DIR}/host/debug_viewer.cpp)
target_link_libraries(com_object_test PRIVATE quarnel_com_ids)

# host_test drives quarnel-host.exe and checks its command line handling;
# its configure tests wait for the dialog, which a fault could keep open.
add_executable(trace_sample win32/trace_sample.cpp)
target_include_directories(trace_sample PRIVATE ${CMAKE_SOURCE_DIR})
target_sources(host_test PRIVATE ${CMAKE_SOURCE_DIR}/host/debug_viewer.cpp)
add_dependencies(host_test quarnel-host trace_sample)
set_tests_properties(host_test PROPERTIES TIMEOUT 300)

# Without the registration, the host says in words what is wrong and which
# regsvr32 command mends it, in either kind of report; a copy of the host
# and the DLL in a folder nested past 300 characters names them there.
add_test(NAME host_unregistered
         COMMAND bash -c [=[
regsvr32=$1 wine_run=$2 prefix=$3 dll=$4 host=$5 plain=$6.plain plugin=$6.plugin deep_run=$6.deep progid=$7
deep=$(mktemp -d)
trap 'rm -rf "$deep" "$plain" "$plugin" "$deep_run"' EXIT
folder=$deep
for _ in 1 2 3; do folder=$folder/$(printf 'd%.0s' $(seq 100)); done
mkdir -p "$folder" && cp "$host" "$dll" "$folder/" || exit 1
sh -c "$regsvr32" "$wine_run" "$prefix" "$dll" /u /s || { echo "regsvr32 /u failed"; exit 1; }
"$wine_run" "$prefix" "$host" check '#WHT=SIZE#' >"$plain" 2>&1; plain_status=$?
"$wine_run" "$prefix" "$host" check --plugin '#FILE=C:\x#WHT=SIZE#' >"$plugin" 2>/dev/null; plugin_status=$?
"$wine_run" "$prefix" "$folder/$(basename "$host")" check '#WHT=SIZE#' >"$deep_run" 2>&1
sh -c "$regsvr32" "$wine_run" "$prefix" "$dll" /s || { echo "registering again failed"; exit 1; }
cat "$plain" "$plugin" "$deep_run"
status=0
windows_folder=Z:${folder//\//\\}
grep -qxF "  $(sed -n 's/^  \(.*regsvr32.exe\) .*/\1/p' "$plain") \"$windows_folder\\comquarnel.dll\"" "$deep_run" ||
  { echo "the copy past 300 characters does not name regsvr32 and its own DLL"; status=1; }
[ $plain_status -eq 2 ] || { echo "exit code $plain_status, not 2"; status=1; }
[ $plugin_status -eq 3 ] || { echo "--plugin: exit code $plugin_status, not 3"; status=1; }
grep -qx "error: $progid is not registered on this machine (0x800401F3.*)" "$plain" ||
  { echo "no line says that the class is not registered"; status=1; }
grep -qx '  .*regsvr32.exe .*comquarnel.dll.' "$plain" || { echo "no regsvr32 command"; status=1; }
grep -qx "QUARNEL UNKNOWN - $progid is not registered .*regsvr32.exe .*comquarnel.dll." "$plugin" ||
  { echo "--plugin: no UNKNOWN line with the regsvr32 command"; status=1; }
exit $status
]=] host_unregistered "${regsvr32}" ${wine_run} ${prefix} $<TARGET_FILE:comquarnel>
                 $<TARGET_FILE:quarnel-host> ${CMAKE_CURRENT_BINARY_DIR}/host_unregistered ${progid})
quarnel_requires_registration(host_unregistered)
set_tests_properties(host_unregistered PROPERTIES TIMEOUT 120 RUN_SERIAL TRUE)
add_dependencies(typelib_test comquarnel)
add_dependencies(com_object_test comquarnel)

# The COM boundary's translation of failures, from the DLL's own source.
target_sources(error_result_test PRIVATE ${CMAKE_SOURCE_DIR}/plugin/server/error_result.cpp)
target_link_libraries(error_result_test PRIVATE quarnel_com_ids)

# check_test runs whole checks through quarnel-host.exe on real files.
quarnel_requires_registration(check_test)
target_sources(check_test PRIVATE ${CMAKE_SOURCE_DIR}/host/debug_viewer.cpp)
add_dependencies(check_test quarnel-host comquarnel)
set_tests_properties(check_test PROPERTIES TIMEOUT 300)

# Checks of folders nested past MAX_PATH, through a C++ client.
quarnel_requires_registration(long_path_test)
target_link_libraries(long_path_test PRIVATE quarnel_com_ids)
add_dependencies(long_path_test comquarnel)
set_tests_properties(long_path_test PROPERTIES TIMEOUT 120)

# Hostile values in every property, through a C++ client and through VBScript.
quarnel_requires_registration(hostile_input_test)
target_link_libraries(hostile_input_test PRIVATE quarnel_com_ids)
add_dependencies(hostile_input_test comquarnel)
set_tests_properties(hostile_input_test PROPERTIES TIMEOUT 300)
add_test(NAME hostile_input_vbs
         COMMAND ${run_vbs} ${prefix} ${CMAKE_CURRENT_SOURCE_DIR}/win32/hostile_input.vbs)
quarnel_requires_registration(hostile_input_vbs)
# A dialog opened by mistake would wait for a user: end the script instead.
set_tests_properties(hostile_input_vbs PROPERTIES TIMEOUT 120)

# dialog_test opens the dialog through the registered object's sa_showGUI,
# and works it from threads of its own and from dialog_driver.exe, another
# program. A dialog that never ends is closed by its driver; the time limit
# is the last resort.
quarnel_requires_registration(dialog_test)
add_executable(dialog_driver win32/dialog_driver.cpp)
target_include_directories(dialog_driver PRIVATE ${CMAKE_SOURCE_DIR})
target_link_options(dialog_driver PRIVATE -municode)
target_link_libraries(dialog_test PRIVATE quarnel_com_ids)
target_sources(dialog_test PRIVATE ${CMAKE_SOURCE_DIR}/host/debug_viewer.cpp
                                   ${CMAKE_SOURCE_DIR}/host/late_binding.cpp)
add_dependencies(dialog_test comquarnel dialog_driver)
set_tests_properties(dialog_test PROPERTIES TIMEOUT 300)

# Long runs: handles and private memory before and after many checks and
# many objects; long_run_full runs 10,000 checks and 1,000 objects (ctest -L long).
quarnel_requires_registration(long_run_test)
target_link_libraries(long_run_test PRIVATE quarnel_com_ids psapi)
add_dependencies(long_run_test comquarnel)
add_test(NAME long_run_full COMMAND long_run_test)
quarnel_requires_registration(long_run_full)
set_tests_properties(long_run_full PROPERTIES ENVIRONMENT QUARNEL_LONG_RUN=full LABELS long
                     TIMEOUT 600)

# Objects on four apartment threads checking the same files at once.
quarnel_requires_registration(concurrency_test)
target_link_libraries(concurrency_test PRIVATE quarnel_com_ids)
add_dependencies(concurrency_test comquarnel)

# Sixteen threads creating the first objects of a fresh process at once.
quarnel_requires_registration(cold_start_test)
target_link_libraries(cold_start_test PRIVATE quarnel_com_ids)
add_dependencies(cold_start_test comquarnel)
set_tests_properties(cold_start_test PROPERTIES TIMEOUT 60)

# No clear password in any result, trace line or host output.
quarnel_requires_registration(secrets_test)
target_sources(secrets_test PRIVATE ${CMAKE_SOURCE_DIR}/host/debug_viewer.cpp)
add_dependencies(secrets_test quarnel-host comquarnel)

# Checks of a folder that the plug-in may not read, run without the right
# to bypass file permissions. The Wine server is restarted restricted for
# it, so nothing else may run at the same time.
add_executable(denied_folder_checks win32/denied_folder_checks.cpp
               ${CMAKE_SOURCE_DIR}/host/debug_viewer.cpp)
target_link_libraries(denied_folder_checks PRIVATE quarnel_win32 gtest gtest_main)
target_include_directories(denied_folder_checks PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/win32)
add_dependencies(denied_folder_checks quarnel-host comquarnel)
add_test(NAME denied_folder_checks
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/win32/run-without-file-rights ${prefix}
                 $<TARGET_FILE:denied_folder_checks>)
quarnel_requires_registration(denied_folder_checks)
set_tests_properties(denied_folder_checks PROPERTIES RUN_SERIAL TRUE TIMEOUT 300
                     SKIP_RETURN_CODE 77)

# Both bitnesses registered on one 64-bit machine: unregistering the 64-bit
# build leaves the keys that both views share (the ProgID, the type library
# with its win32 subkey) to the 32-bit one while that is still registered,
# and removes them once it is not. The 32-bit build's registration is written
# in the 32-bit view as its regsvr32 writes it, since a machine that cannot
# run 32-bit programs cannot run that regsvr32.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  add_test(NAME com_unregister_beside_32_bit
           COMMAND sh -c [=[
regsvr32=$1 wine_run=$2 prefix=$3 dll=$4 progid=$5 clsid=$6 libid=$7
reg() { "$wine_run" "$prefix" reg "$@" >/dev/null 2>&1; }
# One letter a key, P present or A absent: the ProgID, the class in the
# 64-bit view, the library's win64 and win32 subkeys, the library.
win32_library="HKCR\\TypeLib\\$libid\\1.0\\409\\win32"
state() {
  for key in "HKCR\\$progid" "HKCR\\CLSID\\$clsid" \
             "HKCR\\TypeLib\\$libid\\1.0\\409\\win64" "$win32_library" "HKCR\\TypeLib\\$libid"; do
    if reg query "$key"; then printf P; else printf A; fi
  done
}
status=0
expect() { keys=$(state); [ "$keys" = "$1" ] || { echo "after $2: $keys, not $1"; status=1; }; }
sh -c "$regsvr32" "$wine_run" "$prefix" "$dll" /s || exit 1
reg add "HKCR\\CLSID\\$clsid\\InprocServer32" /ve /d 'C:\32\comquarnel.dll' /reg:32 /f || exit 1
reg add "$win32_library" /ve /d 'C:\32\comquarnel.dll' /reg:32 /f || exit 1
sh -c "$regsvr32" "$wine_run" "$prefix" "$dll" /u /s || { echo "regsvr32 /u failed"; status=1; }
expect PAAPP "unregistering the 64-bit build beside the 32-bit one"
reg delete "HKCR\\CLSID\\$clsid" /reg:32 /f; reg delete "$win32_library" /f
sh -c "$regsvr32" "$wine_run" "$prefix" "$dll" /s || exit 1
sh -c "$regsvr32" "$wine_run" "$prefix" "$dll" /u /s || { echo "regsvr32 /u failed"; status=1; }
expect AAAAA "unregistering the last build"
sh -c "$regsvr32" "$wine_run" "$prefix" "$dll" /s || { echo "registering again failed"; exit 1; }
exit $status
]=] com_unregister_beside_32_bit "${regsvr32}" ${wine_run} ${prefix} $<TARGET_FILE:comquarnel> ${progid} ${clsid} ${libid})
  quarnel_requires_registration(com_unregister_beside_32_bit)
  set_tests_properties(com_unregister_beside_32_bit PROPERTIES RUN_SERIAL TRUE LABELS both_bitnesses)
endif()
