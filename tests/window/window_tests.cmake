# Window tests: the real widgets, headless.
find_package(Qt6 REQUIRED COMPONENTS Test)

function(quilvane_window_test name)
  add_executable(${name} ${CMAKE_CURRENT_LIST_DIR}/${name}.cpp ${CMAKE_CURRENT_LIST_DIR}/modal_watcher.h
                         ${CMAKE_CURRENT_LIST_DIR}/dialog_driver.h)
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE quilvane_window quilvane_warnings Qt6::Test)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=zh_CN.UTF-8;ASAN_OPTIONS=detect_leaks=0"
    TIMEOUT 120)
endfunction()

quilvane_window_test(form1_test)
quilvane_window_test(convert_test)
quilvane_window_test(settings_test)
