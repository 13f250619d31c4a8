# Copies the Markdown document INPUT, a file of the source tree SOURCE_DIR, to OUTPUT with its
# relative links made to hold where the package installs it. FILES lists the files of the tree
# that the package holds beside the document, and NAMES their paths there, relative to the
# document's folder, in the same order. A link to one of them points where it lies; a link to
# any other file of the tree keeps its words and loses its target, for the package does not
# hold it. Links with a scheme or within the document stay, as does anything that names no file
# of the tree, such as code. Run when installing.
# Inputs: INPUT, OUTPUT, SOURCE_DIR, FILES, NAMES.
file(READ "${INPUT}" rest)
cmake_path(GET INPUT PARENT_PATH input_dir)
set(text "")
# Inline links, [words](target); a target holds no space.
while(rest MATCHES "\\[([^][\n]*)\\]\\(([^ )\n]+)\\)")
  set(link "${CMAKE_MATCH_0}")
  set(words "${CMAKE_MATCH_1}")
  set(target "${CMAKE_MATCH_2}")
  string(FIND "${rest}" "${link}" at)
  string(SUBSTRING "${rest}" 0 ${at} before)
  string(APPEND text "${before}")
  string(LENGTH "${link}" length)
  math(EXPR at "${at} + ${length}")
  string(SUBSTRING "${rest}" ${at} -1 rest)
  if(target MATCHES "^([A-Za-z][A-Za-z0-9+.-]*:|#|/)")
    string(APPEND text "${link}")
    continue()
  endif()
  string(REGEX MATCH "#.*$" fragment "${target}")
  string(REGEX REPLACE "#.*$" "" path "${target}")
  cmake_path(ABSOLUTE_PATH path BASE_DIRECTORY "${input_dir}" NORMALIZE)
  string(REGEX REPLACE "/$" "" path "${path}")
  if(NOT EXISTS "${path}")
    string(APPEND text "${link}")
    continue()
  endif()
  cmake_path(RELATIVE_PATH path BASE_DIRECTORY "${SOURCE_DIR}")
  list(FIND FILES "${path}" index)
  if(index EQUAL -1)
    string(APPEND text "${words}")
  else()
    list(GET NAMES ${index} installed)
    string(APPEND text "[${words}](${installed}${fragment})")
  endif()
endwhile()
string(APPEND text "${rest}")
file(WRITE "${OUTPUT}" "${text}")
