# Texts of the preview library: the VMD reader and its file layer, the UI
# string table and its loader, the library's folder and, on Windows, the
# help launcher. Built natively too, for tests, fuzzing and vmdtool.
add_library(dchkfcs_text STATIC
  vmdopen.cpp vmdread.cpp vmdstring.cpp vmdwalk.cpp vmdsection.cpp vmdutf8.cpp
  uistrings.cpp uistrings_load.cpp)
target_include_directories(dchkfcs_text PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
if(WIN32)
  target_sources(dchkfcs_text PRIVATE vmdfile_win.cpp module_win.cpp helpbind.cpp helplaunch.cpp)
  target_link_libraries(dchkfcs_text PUBLIC advapi32 user32)
  # DllMain and g_hInstance: link this object library straight into the DLL
  # (and into Windows tests, where g_hInstance stays null: the exe's folder).
  add_library(dchkfcs_dllmain OBJECT dllmain.cpp)
  target_include_directories(dchkfcs_dllmain PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
else()
  target_sources(dchkfcs_text PRIVATE vmdfile_posix.cpp module_posix.cpp)
endif()

# The Japanese VELMORAD.VMD, packed from lang/ja.txt by vmdtool: the one
# built here natively, the native one named by VELMORA_VMDTOOL in cross
# builds. Others find it through the global property VELMORA_JA_VMD and
# depend on the target dchkfcs_lang_ja.
set(ja_vmd ${CMAKE_BINARY_DIR}/lang/ja/VELMORAD.VMD)
if(CMAKE_CROSSCOMPILING)
  set(VELMORA_VMDTOOL "" CACHE FILEPATH "Native vmdtool that packs the data files of cross builds")
  if(EXISTS "${VELMORA_VMDTOOL}")
    set(vmdtool_cmd "${VELMORA_VMDTOOL}")
    set(vmdtool_dep "${VELMORA_VMDTOOL}")
  else()
    message(STATUS "VELMORAD.VMD is not packed: no native vmdtool at '${VELMORA_VMDTOOL}'")
  endif()
else()
  set(vmdtool_cmd $<TARGET_FILE:vmdtool>)
  set(vmdtool_dep vmdtool)
endif()
if(vmdtool_cmd)
  add_custom_command(OUTPUT ${ja_vmd}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/lang/ja
    COMMAND ${vmdtool_cmd} pack ${CMAKE_CURRENT_SOURCE_DIR}/lang/ja.txt -o ${ja_vmd}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/lang/ja.txt ${vmdtool_dep}
    COMMENT "Packing the Japanese VELMORAD.VMD"
    VERBATIM)
  add_custom_target(dchkfcs_lang_ja ALL DEPENDS ${ja_vmd})
  set_property(GLOBAL PROPERTY VELMORA_JA_VMD ${ja_vmd})
endif()
