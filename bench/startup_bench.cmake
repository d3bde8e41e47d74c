# Start-up benchmark: the program against a bare Qt Widgets window with the same parts.
add_executable(bare_window ${CMAKE_CURRENT_LIST_DIR}/bare_window.cpp)
target_link_libraries(bare_window PRIVATE Qt6::Widgets quilvane_warnings)

find_library(XCB_LIBRARY xcb REQUIRED)
add_executable(startup_bench ${CMAKE_CURRENT_LIST_DIR}/startup_bench.cpp)
target_link_libraries(startup_bench PRIVATE ${XCB_LIBRARY} quilvane_warnings)
