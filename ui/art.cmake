# The keyboard picture and the window icon, drawn in code.
add_library(quaverline_art STATIC
  keyboard_picture.cpp
  window_icon.cpp
)
target_include_directories(quaverline_art PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(quaverline_art PUBLIC Qt6::Gui)
