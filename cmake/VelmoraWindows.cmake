# Windows-only parts of the shipped files: version resources, the export
# table and the import libraries for mingw-w64 and MSVC hosts.
if(NOT WIN32)
  return()
endif()
enable_language(RC)
find_program(VELMORA_LLVM_DLLTOOL NAMES llvm-dlltool llvm-dlltool-14 REQUIRED)

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  set(VELMORA_DLLTOOL_MACHINE i386)
else()
  set(VELMORA_DLLTOOL_MACHINE i386:x86-64)
endif()

# velmora_version_resource(TARGET FILENAME DESCRIPTION [LANGUAGE PRIMARY, SUB])
# A VERSIONINFO with the project's version, the description and the name the
# file is shipped under, filed under the language given (US English if none)
# so that it can sit with the file's other resources.
function(velmora_version_resource target filename description)
  cmake_parse_arguments(arg "" "LANGUAGE" "" ${ARGN})
  if(arg_LANGUAGE)
    set(VELMORA_RC_LANGUAGE "${arg_LANGUAGE}")
  else()
    set(VELMORA_RC_LANGUAGE "0x09, 0x01")
  endif()
  set(VELMORA_RC_VERSION "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
  set(VELMORA_RC_DESCRIPTION "${description}")
  set(VELMORA_RC_FILENAME "${filename}")
  get_filename_component(VELMORA_RC_NAME "${filename}" NAME_WE)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "SHARED_LIBRARY")
    set(VELMORA_RC_FILETYPE VFT_DLL)
  else()
    set(VELMORA_RC_FILETYPE VFT_APP)
  endif()
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/versioninfo.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()

# velmora_dll_exports(TARGET DEF_FILE)
# DEF_FILE names each export with its i686 stdcall decoration (Name@bytes).
# The DLL exports the plain names on both architectures; the import
# libraries map the names a host's compiler references (_Name@bytes on
# i686, Name on x86_64) to them: lib<name>.dll.a from dlltool for mingw-w64
# hosts (it replaces the linker's, so the build's own programs link the
# shipped one), <NAME>.lib from llvm-dlltool for MSVC hosts.
function(velmora_dll_exports target def)
  get_target_property(dll_name ${target} OUTPUT_NAME)
  string(TOLOWER ${dll_name} lower)
  file(READ ${def} text)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def})
  set(kill_at)
  if(VELMORA_DLLTOOL_MACHINE STREQUAL "i386")
    target_link_options(${target} PRIVATE -Wl,--kill-at)
    set(kill_at -k)
  else()
    string(REGEX REPLACE "@[0-9]+" "" text "${text}")
  endif()
  set(arch_def ${CMAKE_CURRENT_BINARY_DIR}/${dll_name}.def)
  file(CONFIGURE OUTPUT ${arch_def} CONTENT "${text}" @ONLY)
  target_sources(${target} PRIVATE ${arch_def})
  set_target_properties(${target} PROPERTIES
    IMPORT_PREFIX lib ARCHIVE_OUTPUT_NAME ${lower} IMPORT_SUFFIX .dll.a)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_DLLTOOL} ${kill_at} -d ${arch_def} -D ${dll_name}.dll -l $<TARGET_LINKER_FILE_NAME:${target}>
    WORKING_DIRECTORY $<TARGET_LINKER_FILE_DIR:${target}>
    VERBATIM)

  set(msvc_lib ${CMAKE_CURRENT_BINARY_DIR}/${dll_name}.lib)
  add_custom_command(OUTPUT ${msvc_lib}
    COMMAND ${VELMORA_LLVM_DLLTOOL} -m ${VELMORA_DLLTOOL_MACHINE} ${kill_at} -d ${arch_def} -l ${msvc_lib}
    DEPENDS ${arch_def}
    COMMENT "MSVC import library ${dll_name}.lib"
    VERBATIM)
  add_custom_target(${target}_msvc_lib ALL DEPENDS ${msvc_lib})
  set_target_properties(${target} PROPERTIES VELMORA_MSVC_IMPLIB ${msvc_lib})
endfunction()
