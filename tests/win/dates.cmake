# The period's ends in the Windows user's locale: the pictures everywhere, the system's locales on
# Windows.
animark_add_test(animark_win_dates_tests ${CMAKE_CURRENT_LIST_DIR}/date_picture_test.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/picture_date_time_text_test.cpp)
target_link_libraries(animark_win_dates_tests PRIVATE animark_win_dates)

if(WIN32)
  animark_add_test(animark_win_locale_dates_tests
                   ${CMAKE_CURRENT_LIST_DIR}/locale_date_time_text_test.cpp)
  target_compile_definitions(animark_win_locale_dates_tests PRIVATE _WIN32_WINNT=0x0601
                                                                    WIN32_LEAN_AND_MEAN NOMINMAX)
  target_link_libraries(animark_win_locale_dates_tests PRIVATE animark_win_locale_dates)
endif()
