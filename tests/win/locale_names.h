#pragma once
// Names of real locales for the picture tests, as Windows gives them.

#include "win/date_picture.h"

namespace animark::win {

inline LocaleNames EnglishNames() {
  return {{"January", "February", "March", "April", "May", "June", "July", "August", "September",
           "October", "November", "December"},
          {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
          {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
          {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"},
          "AM",
          "PM"};
}

inline LocaleNames GermanNames() {
  return {{"Januar", "Februar", "M\u00e4rz", "April", "Mai", "Juni", "Juli", "August", "September",
           "Oktober", "November", "Dezember"},
          {"Jan", "Feb", "M\u00e4r", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"},
          {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"},
          {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"},
          "",
          ""};
}

inline LocaleNames KoreanNames() {
  return {{"1월", "2월", "3월", "4월", "5월", "6월", "7월", "8월", "9월", "10월", "11월", "12월"},
          {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"},
          {"일요일", "월요일", "화요일", "수요일", "목요일", "금요일", "토요일"},
          {"일", "월", "화", "수", "목", "금", "토"},
          "오전",
          "오후"};
}

inline LocaleNames SpanishNames() {
  return {{"enero", "febrero", "marzo", "abril", "mayo", "junio", "julio", "agosto", "septiembre",
           "octubre", "noviembre", "diciembre"},
          {"ene", "feb", "mar", "abr", "may", "jun", "jul", "ago", "sep", "oct", "nov", "dic"},
          {"domingo", "lunes", "martes", "mi\u00e9rcoles", "jueves", "viernes", "s\u00e1bado"},
          {"dom", "lun", "mar", "mi\u00e9", "jue", "vie", "s\u00e1b"},
          "a. m.",
          "p. m."};
}

}  // namespace animark::win
