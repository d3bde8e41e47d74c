# The window: its layout, handlers, dialogs and message boxes, on Qt 6 Widgets.
find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets PrintSupport)

add_library(quilvane_window STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Form1.h
  ${CMAKE_CURRENT_LIST_DIR}/Form1.cpp
  ${CMAKE_CURRENT_LIST_DIR}/handlers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/application.cpp
  ${CMAKE_CURRENT_LIST_DIR}/accessibility.h
  ${CMAKE_CURRENT_LIST_DIR}/accessibility.cpp
  ${CMAKE_CURRENT_LIST_DIR}/layout.h
  ${CMAKE_CURRENT_LIST_DIR}/message_boxes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings_dialog.h
  ${CMAKE_CURRENT_LIST_DIR}/settings_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/table_dialog.h
  ${CMAKE_CURRENT_LIST_DIR}/table_dialog.cpp)
set_target_properties(quilvane_window PROPERTIES AUTOMOC ON)
target_link_libraries(quilvane_window PUBLIC quilvane_core Qt6::Widgets PRIVATE Qt6::PrintSupport quilvane_warnings)
qt_add_resources(quilvane_window quilvane_images
  PREFIX /quilvane
  BASE ${PROJECT_SOURCE_DIR}/assets
  FILES ${PROJECT_SOURCE_DIR}/assets/quilvane.ico ${PROJECT_SOURCE_DIR}/assets/picture.gif)
