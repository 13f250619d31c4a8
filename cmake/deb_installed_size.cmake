# Run by cpack after it made the .debs: CPack's Installed-Size counts each directory as 4 KiB and
# each link as the file it points to, which nearly doubles the program's. Each control file is
# given the size as dpkg-gencontrol counts it (every regular file rounded up to whole KiB, every
# link and directory 1 KiB), and the development package the Multi-Arch field that CPack cannot
# write; each package is then built again from the same contents.
# Inputs: CPACK_PACKAGE_FILES, CPACK_TOPLEVEL_DIRECTORY, CPACK_LETTRIX_STATIC,
# CPACK_QUILLONCORE_PACKAGE, CPACK_QUILLONCORE_MULTIARCH (empty where the library lies in no
# folder of its machine's own).
set(CMAKE_MESSAGE_LOG_LEVEL STATUS)  # cmake/cpack_options.cmake may have lowered it
find_program(DPKG_DEB dpkg-deb)
if(NOT DPKG_DEB)
  message(WARNING "dpkg-deb not found: the .deb keeps CPack's Installed-Size")
  return()
endif()
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(NOT package MATCHES "\\.deb$")
    continue()
  endif()
  set(root "${CPACK_TOPLEVEL_DIRECTORY}/installed-size")
  file(REMOVE_RECURSE "${root}")
  execute_process(COMMAND "${DPKG_DEB}" --raw-extract "${package}" "${root}"
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "dpkg-deb could not unpack ${package}")
  endif()

  set(kib 1)  # the package's root folder
  file(GLOB_RECURSE entries LIST_DIRECTORIES true "${root}/*")
  foreach(entry IN LISTS entries)
    file(RELATIVE_PATH relative "${root}" "${entry}")
    if(relative MATCHES "^DEBIAN(/|$)")
      continue()
    endif()
    if(IS_SYMLINK "${entry}" OR IS_DIRECTORY "${entry}")
      math(EXPR kib "${kib} + 1")
    else()
      file(SIZE "${entry}" bytes)
      math(EXPR kib "${kib} + (${bytes} + 1023) / 1024")
    endif()
  endforeach()

  file(READ "${root}/DEBIAN/control" control)
  set(control "\n${control}")  # every field then starts after a line end, the first one too
  string(REGEX MATCH "\nPackage: ([^\n]*)" match "${control}")
  set(name "${CMAKE_MATCH_1}")
  string(REGEX REPLACE "\nInstalled-Size: [0-9]+\n" "\nInstalled-Size: ${kib}\n" control
         "${control}")
  if(name STREQUAL CPACK_QUILLONCORE_PACKAGE AND CPACK_QUILLONCORE_MULTIARCH)
    string(REGEX REPLACE "(\nArchitecture: [^\n]*)"
           "\\1\nMulti-Arch: ${CPACK_QUILLONCORE_MULTIARCH}" control "${control}")
  endif()
  string(SUBSTRING "${control}" 1 -1 control)
  file(WRITE "${root}/DEBIAN/control" "${control}")
  execute_process(COMMAND "${DPKG_DEB}" --root-owner-group -Zgzip --build "${root}" "${package}"
                  OUTPUT_QUIET RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "dpkg-deb could not build ${package} again")
  endif()
  file(REMOVE_RECURSE "${root}")
  message(STATUS "${name}: Installed-Size: ${kib} KiB")
  if(CPACK_LETTRIX_STATIC AND NOT name STREQUAL CPACK_QUILLONCORE_PACKAGE)
    message(STATUS "Depends: none, the program is linked statically")
  endif()
endforeach()
