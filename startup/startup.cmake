# Start-up and the status clock (members of the window that run at load and on each tick),
# and the single-instance check, a library of its own with one file per platform.
add_library(quilvane_startup STATIC
  ${CMAKE_CURRENT_LIST_DIR}/form_load.cpp
  ${CMAKE_CURRENT_LIST_DIR}/status_clock.cpp)
target_link_libraries(quilvane_startup PUBLIC quilvane_window PRIVATE quilvane_warnings)

if(WIN32)
  set(quilvane_instance_platform ${CMAKE_CURRENT_LIST_DIR}/single_instance_windows.cpp)
else()
  set(quilvane_instance_platform ${CMAKE_CURRENT_LIST_DIR}/single_instance_posix.cpp)
endif()
add_library(quilvane_instance STATIC
  ${CMAKE_CURRENT_LIST_DIR}/single_instance.h
  ${quilvane_instance_platform})
target_include_directories(quilvane_instance PUBLIC $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>)
target_link_libraries(quilvane_instance PRIVATE quilvane_warnings)
