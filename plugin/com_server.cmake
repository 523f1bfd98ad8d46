# comquarnel.dll: the in-process COM server with its embedded type library.

# The type library: widl makes the C++ header, the GUID definitions and the
# .tlb that the DLL carries as resource TYPELIB 1.
# The type library is built for the DLL's own bitness, so that it registers
# under its win32 or win64 key.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(typelib_bitness --win64)
  set(wine_dlls x86_64-linux-gnu/wine/x86_64-windows wine/x86_64-windows)
else()
  set(typelib_bitness --win32)
  set(wine_dlls i386-linux-gnu/wine/i386-windows wine/i386-windows lib32/wine/i386-windows)
endif()
list(TRANSFORM wine_dlls PREPEND /usr/lib/)
find_path(QUARNEL_STDOLE2_DIR stdole2.tlb PATHS ${wine_dlls}
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(QUARNEL_IDL_INCLUDE_DIR /usr/include/wine/wine/windows CACHE PATH
    "Where widl finds oaidl.idl and ocidl.idl")

set(typelib_dir ${CMAKE_CURRENT_BINARY_DIR})
set(typelib_outputs ${typelib_dir}/quarnel_h.h ${typelib_dir}/quarnel_i.c ${typelib_dir}/quarnel.tlb)
add_custom_command(
  OUTPUT ${typelib_outputs}
  COMMAND ${QUARNEL_WIDL} ${typelib_bitness} -I${QUARNEL_IDL_INCLUDE_DIR} -L${QUARNEL_STDOLE2_DIR}
          -h -H ${typelib_dir}/quarnel_h.h -u -U ${typelib_dir}/quarnel_i.c
          -t -T ${typelib_dir}/quarnel.tlb ${CMAKE_CURRENT_SOURCE_DIR}/quarnel.idl
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/quarnel.idl
  COMMENT "Compiling the type library comQuarnel"
  VERBATIM)
add_custom_target(quarnel_typelib DEPENDS ${typelib_outputs})

# The interface and class identifiers, for the DLL and for COM clients.
add_library(quarnel_com_ids STATIC ${typelib_dir}/quarnel_i.c)
target_include_directories(quarnel_com_ids PUBLIC ${typelib_dir})
add_dependencies(quarnel_com_ids quarnel_typelib)

set(server_dir ${CMAKE_CURRENT_SOURCE_DIR}/server)
add_library(comquarnel SHARED
  ${server_dir}/exports.cpp
  ${server_dir}/class_factory.cpp
  ${server_dir}/error_result.cpp
  ${server_dir}/module.cpp
  ${server_dir}/quarnelcom.cpp
  ${server_dir}/registration.cpp
  ${server_dir}/comquarnel.def
  ${server_dir}/comquarnel.rc)
set_target_properties(comquarnel PROPERTIES PREFIX "" OUTPUT_NAME comquarnel)
target_include_directories(comquarnel PRIVATE ${typelib_dir} ${CMAKE_SOURCE_DIR})
target_link_libraries(comquarnel PRIVATE quarnel_win32 quarnel_com_ids)
# The C and C++ runtimes are linked in, so the DLL needs only system DLLs.
# --enable-stdcall-fixup: the .def file names the exports without their
# stdcall decoration.
target_link_options(comquarnel PRIVATE -static -static-libgcc -static-libstdc++
                    -Wl,--enable-stdcall-fixup)
set_source_files_properties(${server_dir}/comquarnel.rc PROPERTIES
  OBJECT_DEPENDS "${typelib_dir}/quarnel.tlb;${CMAKE_SOURCE_DIR}/dialog/frmmain.rc")

# Every DLL that the plug-in imports must come with Windows.
add_test(NAME comquarnel_imports
         COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DBINARY=$<TARGET_FILE:comquarnel>
                 -P ${server_dir}/check_imports.cmake)
