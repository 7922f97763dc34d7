# The Windows program: a window without a console, and the icon Explorer and the Start menu show.

set_target_properties(quaverline PROPERTIES WIN32_EXECUTABLE ON)

# The icon file is made on the build machine from the same drawing the Linux desktop installs.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_program(ICOTOOL icotool REQUIRED)
set(windows_icon_dir ${CMAKE_BINARY_DIR}/windows-icon)
set(QUAVERLINE_ICO ${windows_icon_dir}/quaverline.ico)
set(icon_sizes 16 24 32 48 256)
set(icon_pngs)
foreach(size IN LISTS icon_sizes)
  list(APPEND icon_pngs ${windows_icon_dir}/quaverline-${size}.png)
  add_custom_command(OUTPUT ${windows_icon_dir}/quaverline-${size}.png
    COMMAND ${CMAKE_COMMAND} -E make_directory ${windows_icon_dir}
    COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${windows_icon_dir}/quaverline-${size}.png
            ${PROJECT_SOURCE_DIR}/packaging/icons/quaverline.svg
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/icons/quaverline.svg
    VERBATIM)
endforeach()
add_custom_command(OUTPUT ${QUAVERLINE_ICO}
  COMMAND ${ICOTOOL} -c -o ${QUAVERLINE_ICO} ${icon_pngs}
  DEPENDS ${icon_pngs}
  VERBATIM)
configure_file(${CMAKE_CURRENT_LIST_DIR}/quaverline.rc.in ${CMAKE_BINARY_DIR}/quaverline.rc @ONLY)
set_source_files_properties(${CMAKE_BINARY_DIR}/quaverline.rc PROPERTIES OBJECT_DEPENDS ${QUAVERLINE_ICO})
target_sources(quaverline PRIVATE ${CMAKE_BINARY_DIR}/quaverline.rc)
