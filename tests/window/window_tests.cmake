# Window tests: the real widgets, headless.
find_package(Qt6 REQUIRED COMPONENTS Test)

function(quilvane_window_test name)
  quilvane_window_test_executable(${name})
  add_test(NAME ${name} COMMAND ${name})
  quilvane_window_test_environment(${name})
endfunction()

function(quilvane_window_test_environment test)
  set_tests_properties(${test} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=zh_CN.UTF-8"
    TIMEOUT 120)
endfunction()

function(quilvane_window_test_executable name)
  add_executable(${name} ${CMAKE_CURRENT_LIST_DIR}/${name}.cpp ${CMAKE_CURRENT_LIST_DIR}/modal_watcher.h
                         ${CMAKE_CURRENT_LIST_DIR}/dialog_driver.h ${CMAKE_CURRENT_LIST_DIR}/shown_window.h
                         ${CMAKE_CURRENT_LIST_DIR}/test_main.h)
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE quilvane_startup quilvane_instance quilvane_warnings Qt6::Test)
endfunction()

quilvane_window_test(form1_test)
quilvane_window_test(convert_test)
quilvane_window_test(settings_test)

# Every text fits its control at each scale factor; the factor is set before Qt starts.
quilvane_window_test_executable(fit_test)
foreach(scale 1 1.25 1.5 2)
  add_test(NAME fit_test_${scale} COMMAND fit_test ${scale})
  quilvane_window_test_environment(fit_test_${scale})
endforeach()

# Text queries a screen reader makes, through AT-SPI against the real program: every offset
# answers, the end of the text included. Skipped where AT-SPI cannot start.
add_test(NAME atspi_text COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/atspi_text.sh $<TARGET_FILE:quilvane>)
set_tests_properties(atspi_text PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300 RESOURCE_LOCK x_server
                     ENVIRONMENT "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp")
