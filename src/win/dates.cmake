# The period's ends in the user's locale. The pictures' formatting and reading has no system call
# and is built (and tested) everywhere; reading the locale from the system is for Windows only.
add_library(animark_win_dates STATIC ${CMAKE_CURRENT_LIST_DIR}/date_picture.cpp
                                     ${CMAKE_CURRENT_LIST_DIR}/picture_date_time_text.cpp)
target_link_libraries(animark_win_dates PUBLIC animark_settings animark_time animark_platform)

if(WIN32)
  add_library(animark_win_locale_dates STATIC ${CMAKE_CURRENT_LIST_DIR}/locale_date_time_text.cpp)
  target_compile_definitions(animark_win_locale_dates PRIVATE _WIN32_WINNT=0x0601 UNICODE
                                                              _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
  target_link_libraries(animark_win_locale_dates PUBLIC animark_win_dates)
endif()
