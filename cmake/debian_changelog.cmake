# Writes NEWS.md as the .deb's changelog.gz: Debian reads a native package's changelog in its own
# format, so every "## <version> (<yyyy-mm-dd>)" section becomes one entry, its text indented,
# signed by the maintainer on the release's date.
# Inputs: NEWS, OUTPUT, PACKAGE, MAINTAINER.
file(READ "${NEWS}" news)
string(REGEX MATCHALL "\n## [^\n]*" headings "\n${news}")
if(NOT headings)
  message(FATAL_ERROR "${NEWS} has no release heading (## <version> (<yyyy-mm-dd>))")
endif()

set(weekdays Sun Mon Tue Wed Thu Fri Sat)
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
set(month_offsets 0 3 2 5 0 3 5 1 4 6 2 4)
set(changelog "")
set(date "([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])")
foreach(heading IN LISTS headings)
  if(NOT heading MATCHES "^\n## ([0-9][^ ]*) \\(${date}\\)$")
    string(STRIP "${heading}" heading)
    message(FATAL_ERROR "${NEWS}: \"${heading}\" is not \"## <version> (<yyyy-mm-dd>)\"")
  endif()
  set(version ${CMAKE_MATCH_1})
  math(EXPR year "${CMAKE_MATCH_2}")
  math(EXPR month "${CMAKE_MATCH_3}")
  math(EXPR day "${CMAKE_MATCH_4}")
  # The day of the week, which Debian's date format names (Sakamoto's method).
  math(EXPR index "${month} - 1")
  list(GET month_offsets ${index} offset)
  list(GET months ${index} month_name)
  set(y ${year})
  if(month LESS 3)
    math(EXPR y "${y} - 1")
  endif()
  math(EXPR weekday "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${day}) % 7")
  list(GET weekdays ${weekday} weekday_name)

  # The section's text runs from its heading to the next one, or to the end.
  string(FIND "\n${news}" "${heading}" start)
  string(LENGTH "${heading}" length)
  math(EXPR start "${start} + ${length}")
  string(SUBSTRING "\n${news}" ${start} -1 body)
  string(FIND "${body}" "\n## " end)
  string(SUBSTRING "${body}" 0 ${end} body)
  string(STRIP "${body}" body)
  string(REGEX REPLACE "\n([^\n])" "\n  \\1" body "\n${body}")

  if(day LESS 10)
    set(day "0${day}")
  endif()
  string(APPEND changelog "${PACKAGE} (${version}) unstable; urgency=medium\n${body}\n\n"
         " -- ${MAINTAINER}  ${weekday_name}, ${day} ${month_name} ${year} 00:00:00 +0000\n\n")
endforeach()
string(STRIP "${changelog}" changelog)

file(WRITE "${OUTPUT}" "${changelog}\n")
