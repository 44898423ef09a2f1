# The preview window and the library VELMORAZ.dll (Windows only).
enable_language(RC)
find_package(Python3 COMPONENTS Interpreter REQUIRED)

# Toolbar strip and icon from the pixel art in tools/art.
get_filename_component(DCHKFCS_ART_DIR ${CMAKE_CURRENT_LIST_DIR}/../../tools/art ABSOLUTE)
set(DCHKFCS_ART_OUT ${CMAKE_CURRENT_BINARY_DIR}/art)
add_custom_command(
  OUTPUT ${DCHKFCS_ART_OUT}/toolbar.bmp ${DCHKFCS_ART_OUT}/coversheet.ico
  COMMAND ${CMAKE_COMMAND} -E make_directory ${DCHKFCS_ART_OUT}
  COMMAND Python3::Interpreter ${DCHKFCS_ART_DIR}/mkart.py
          ${DCHKFCS_ART_DIR}/toolbar.txt ${DCHKFCS_ART_DIR}/icon.txt
          ${DCHKFCS_ART_OUT}/toolbar.bmp ${DCHKFCS_ART_OUT}/coversheet.ico
  DEPENDS ${DCHKFCS_ART_DIR}/mkart.py ${DCHKFCS_ART_DIR}/toolbar.txt ${DCHKFCS_ART_DIR}/icon.txt
  COMMENT "Drawing the toolbar strip and the icon")

# Resources as an object library: the DLL carries them, and white-box tests
# link them into their own executable.
add_library(dchkfcs_resources OBJECT velmoraz.rc)
target_include_directories(dchkfcs_resources PRIVATE ${DCHKFCS_ART_OUT}
                           ${CMAKE_CURRENT_SOURCE_DIR})
set_source_files_properties(velmoraz.rc PROPERTIES OBJECT_DEPENDS
  "${DCHKFCS_ART_OUT}/toolbar.bmp;${DCHKFCS_ART_OUT}/coversheet.ico;${CMAKE_CURRENT_SOURCE_DIR}/resource.h")

add_library(dchkfcs_window OBJECT
  cmdstate.cpp
  dispcheckfcs.cpp
  dlgbar.cpp
  framewnd.cpp
  localisemenu.cpp
  pagepaint.cpp
  toolbar.cpp
  viewwnd.cpp
  zoom.cpp
  zoombox.cpp)
target_include_directories(dchkfcs_window PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_options(dchkfcs_window PRIVATE -Wall -Wextra)
target_link_libraries(dchkfcs_window PUBLIC dchkfcs_text comctl32 gdi32 user32)

add_library(velmoraz SHARED $<TARGET_OBJECTS:dchkfcs_resources>)
set_target_properties(velmoraz PROPERTIES OUTPUT_NAME VELMORAZ PREFIX "")
velmora_dll_exports(velmoraz ${CMAKE_CURRENT_SOURCE_DIR}/VELMORAZ.def)
velmora_version_resource(velmoraz VELMORAZ.dll "Velmora fax cover sheet preview")
# DllMain (and the instance handle) come from the texts library's own target.
target_link_libraries(velmoraz PRIVATE dchkfcs_dllmain dchkfcs_window)
target_include_directories(velmoraz INTERFACE ${CMAKE_CURRENT_SOURCE_DIR})
