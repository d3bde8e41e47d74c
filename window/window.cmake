# The window, start-up and the program, on Qt 6 Widgets.
find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets)

add_library(quilvane_window STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Form1.h
  ${CMAKE_CURRENT_LIST_DIR}/Form1.cpp
  ${CMAKE_CURRENT_LIST_DIR}/layout.h
  ${CMAKE_CURRENT_LIST_DIR}/message_boxes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings_dialog.h
  ${CMAKE_CURRENT_LIST_DIR}/settings_dialog.cpp
  ${PROJECT_SOURCE_DIR}/startup/form_load.cpp
  ${PROJECT_SOURCE_DIR}/startup/status_clock.cpp
  ${PROJECT_SOURCE_DIR}/startup/single_instance.cpp)
set_target_properties(quilvane_window PROPERTIES AUTOMOC ON)
target_link_libraries(quilvane_window PUBLIC quilvane_core Qt6::Widgets PRIVATE quilvane_warnings)
qt_add_resources(quilvane_window quilvane_images
  PREFIX /quilvane
  BASE ${PROJECT_SOURCE_DIR}/assets
  FILES ${PROJECT_SOURCE_DIR}/assets/quilvane.ico ${PROJECT_SOURCE_DIR}/assets/picture.gif)

add_executable(quilvane ${PROJECT_SOURCE_DIR}/app/main.cpp)
target_link_libraries(quilvane PRIVATE quilvane_window quilvane_warnings)

include(GNUInstallDirs)
install(TARGETS quilvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/org.quilvane.quilvane.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/org.quilvane.quilvane.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/quilvane.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
foreach(size 16 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/assets/quilvane-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME quilvane.png)
endforeach()
