# The plug-in's COM identifiers for every test, read from plugin/quarnel.idl:
# the class, its interface and its type library by their uuids, and the
# ProgID, which is the library's name and the class's name
# (comQuarnel.quarnelcom), as registration writes it. CMake passes them to
# shell tests as ${progid}, ${clsid}, ${libid} and ${iid}; each other language
# of the tests gets one file of them, made here in ${quarnel_com_ids_dir}:
# com_ids.h (C++), com_ids.vbs (VBScript: tests/win32/run-vbs appends it to
# every script) and quarnel_com_ids.py (Python). A test finds the folder in
# $QUARNEL_COM_IDS (tests/CMakeLists.txt gives it to every Windows test).

file(READ ${CMAKE_SOURCE_DIR}/plugin/quarnel.idl idl)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/plugin/quarnel.idl)
# The uuid and the name of the declaration that follows its attributes.
function(quarnel_idl_declaration keyword uuid_variable name_variable)
  if(NOT idl MATCHES "uuid\\(([0-9a-fA-F-]+)\\)[^]]*\\][ \t\r\n]*${keyword} ([A-Za-z_0-9]+)")
    message(FATAL_ERROR "quarnel.idl declares no ${keyword} with a uuid")
  endif()
  set(${uuid_variable} "{${CMAKE_MATCH_1}}" PARENT_SCOPE)
  set(${name_variable} ${CMAKE_MATCH_2} PARENT_SCOPE)
endfunction()
quarnel_idl_declaration(library libid library_name)
quarnel_idl_declaration(interface iid interface_name)
quarnel_idl_declaration(coclass clsid class_name)
set(progid ${library_name}.${class_name})

set(quarnel_com_ids_dir ${CMAKE_BINARY_DIR}/tests/com_ids)
file(CONFIGURE OUTPUT ${quarnel_com_ids_dir}/com_ids.h @ONLY CONTENT [=[
#pragma once
// Made by tests/win32/com_ids.cmake from plugin/quarnel.idl.
namespace quarnel {
inline constexpr wchar_t kPluginProgId[] = L"@progid@";
}  // namespace quarnel
]=])
file(CONFIGURE OUTPUT ${quarnel_com_ids_dir}/com_ids.vbs @ONLY CONTENT [=[
' Made by tests/win32/com_ids.cmake from plugin/quarnel.idl. Functions, not
' constants, so that a script may use them before this text, appended to it.
Function PluginProgId() : PluginProgId = "@progid@" : End Function
Function PluginClassId() : PluginClassId = "@clsid@" : End Function
Function PluginLibraryId() : PluginLibraryId = "@libid@" : End Function
Function PluginInterfaceId() : PluginInterfaceId = "@iid@" : End Function
]=])
file(CONFIGURE OUTPUT ${quarnel_com_ids_dir}/quarnel_com_ids.py @ONLY CONTENT [=[
"""Made by tests/win32/com_ids.cmake from plugin/quarnel.idl."""
PROG_ID = "@progid@"
CLASS_ID = "@clsid@"
LIBRARY_ID = "@libid@"
INTERFACE_ID = "@iid@"
]=])
