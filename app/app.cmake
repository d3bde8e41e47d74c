# The program and what installs with it.
add_executable(quilvane ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(quilvane PRIVATE quilvane_startup quilvane_instance quilvane_warnings)
if(WIN32)
  # A windowed program (no console) with the program's icon.
  set_target_properties(quilvane PROPERTIES WIN32_EXECUTABLE ON)
  target_sources(quilvane PRIVATE ${CMAKE_CURRENT_LIST_DIR}/quilvane.rc)
  return()
endif()

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
