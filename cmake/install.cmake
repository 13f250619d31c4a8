# Installation and packages: the tool with its manual page and shell completions, and QuillonCore
# as a CMake package that other console tools find with find_package(QuillonCore CONFIG).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# Unpacked on Windows, the program and its help stand side by side at the top of the folder.
if(WIN32)
  set(tool_dir .)
else()
  set(tool_dir ${CMAKE_INSTALL_BINDIR})
endif()
install(TARGETS Lettrix RUNTIME DESTINATION ${tool_dir} COMPONENT Lettrix)

if(WIN32)
  # Windows has no manual pages: the package carries the extended help as text, written by the
  # program itself when it is installed or packaged (through the emulator when cross-built), so
  # it can never drift from it, and building the program needs no emulator.
  set(help_text ${PROJECT_BINARY_DIR}/Lettrix-help.txt)
  install(CODE "set(PROGRAM [[$<TARGET_FILE:Lettrix>]])
set(EMULATOR [[${CMAKE_CROSSCOMPILING_EMULATOR}]])
set(OUTPUT [[${help_text}]])
include([[${PROJECT_SOURCE_DIR}/cmake/write_help_text.cmake]])" COMPONENT Lettrix)
  install(FILES ${help_text} DESTINATION ${tool_dir} COMPONENT Lettrix)
endif()

if(UNIX)
  # Manual pages are installed compressed, as Debian requires; compressing them when they are
  # installed means that only installing and packaging need gzip.
  configure_file(man/Lettrix.1.in ${PROJECT_BINARY_DIR}/man/Lettrix.1 @ONLY)
  install(CODE "set(INPUT [[${PROJECT_BINARY_DIR}/man/Lettrix.1]])
set(OUTPUT [[${PROJECT_BINARY_DIR}/man/Lettrix.1.gz]])
include([[${PROJECT_SOURCE_DIR}/cmake/gzip.cmake]])" COMPONENT Lettrix)
  set(man_dir ${CMAKE_INSTALL_MANDIR}/man1)
  set(bash_dir ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
  set(fish_dir ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d)
  set(LETTRIX_ZSH_COMPLETION_DIR ${CMAKE_INSTALL_DATADIR}/zsh/site-functions CACHE STRING
      "Folder of the zsh completion, relative to the installation prefix")
  install(FILES ${PROJECT_BINARY_DIR}/man/Lettrix.1.gz DESTINATION ${man_dir} COMPONENT Lettrix)
  install(FILES completions/lettrix.bash DESTINATION ${bash_dir} RENAME lettrix
          COMPONENT Lettrix)
  install(FILES completions/lettrix.fish DESTINATION ${fish_dir} COMPONENT Lettrix)
  # Debian's zsh does not search site-functions under /usr, so the .deb chooses another folder
  # when it installs (cmake/cpack_options.cmake); the rule reads the folder at install time.
  install(CODE "if(NOT DEFINED LETTRIX_ZSH_DIR)
  set(LETTRIX_ZSH_DIR \"${LETTRIX_ZSH_COMPLETION_DIR}\")
endif()" COMPONENT Lettrix)
  install(FILES completions/_lettrix DESTINATION \${LETTRIX_ZSH_DIR} COMPONENT Lettrix)
endif()

# The lower-case names that Unix habit types. Shells and man look completions and pages up by
# the name typed, so each file gets a link under the other spelling. Not on macOS, whose file
# system ignores case by default: there the link would replace the file it points to. The
# program still calls itself Lettrix, since its name comes from the file the link resolves to.
if(UNIX AND NOT APPLE)
  set(link_root ${PROJECT_BINARY_DIR}/links)
  foreach(link IN ITEMS "${tool_dir};lettrix;Lettrix" "${man_dir};lettrix.1.gz;Lettrix.1.gz"
                        "${bash_dir};Lettrix;lettrix" "${fish_dir};Lettrix.fish;lettrix.fish")
    list(GET link 0 link_dir)
    list(GET link 1 link_name)
    list(GET link 2 link_target)
    file(MAKE_DIRECTORY ${link_root}/${link_dir})
    file(CREATE_LINK ${link_target} ${link_root}/${link_dir}/${link_name} SYMBOLIC)
    install(FILES ${link_root}/${link_dir}/${link_name} DESTINATION ${link_dir}
            COMPONENT Lettrix)
  endforeach()
endif()

# QuillonCore for other tools: the static library, its headers in their folders so that
# "core/params.h" reads the same inside and outside this project, and the package files.
set(core_include_dir ${CMAKE_INSTALL_INCLUDEDIR}/quilloncore)
foreach(header IN LISTS quilloncore_headers)
  get_filename_component(header_dir ${header} DIRECTORY)
  install(FILES ${header} DESTINATION ${core_include_dir}/${header_dir} COMPONENT QuillonCore)
endforeach()
write_basic_package_version_file(${PROJECT_BINARY_DIR}/QuillonCoreConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
set(pc_libs "")
if(WIN32)
  set(pc_libs " -luser32")
endif()

# The library with its CMake package and pkg-config file, in the library folder `libdir` as
# `component`. The package files find the installation from where they lie, so a second library
# folder gets copies of its own. The .pc file names its paths relative to itself, so that the
# installation may move: pkg-config --cflags --libs quilloncore.
function(install_quilloncore_library component libdir)
  set(package_dir ${libdir}/cmake/QuillonCore)
  set(generated ${PROJECT_BINARY_DIR}/${component})
  install(TARGETS QuillonCore EXPORT ${component}Targets
          ARCHIVE DESTINATION ${libdir} COMPONENT ${component} ${ARGN}
          INCLUDES DESTINATION ${core_include_dir})
  install(EXPORT ${component}Targets FILE QuillonCoreTargets.cmake NAMESPACE QuillonCore::
          DESTINATION ${package_dir} COMPONENT ${component} ${ARGN})
  configure_package_config_file(cmake/QuillonCoreConfig.cmake.in
                                ${generated}/QuillonCoreConfig.cmake
                                INSTALL_DESTINATION ${package_dir})
  install(FILES ${generated}/QuillonCoreConfig.cmake
                ${PROJECT_BINARY_DIR}/QuillonCoreConfigVersion.cmake
                cmake/QuillonCoreStamp.cmake cmake/QuillonCoreMachine.cmake
                cmake/quilloncore-stamp.cmake
          DESTINATION ${package_dir} COMPONENT ${component} ${ARGN})
  file(RELATIVE_PATH pc_prefix /root/${libdir}/pkgconfig /root)
  string(REGEX REPLACE "/$" "" pc_prefix "${pc_prefix}")
  configure_file(cmake/quilloncore.pc.in ${generated}/quilloncore.pc @ONLY)
  install(FILES ${generated}/quilloncore.pc DESTINATION ${libdir}/pkgconfig
          COMPONENT ${component} ${ARGN})
endfunction()
install_quilloncore_library(QuillonCoreLibrary ${CMAKE_INSTALL_LIBDIR})

# The development .deb puts the library where Debian puts every library of a machine,
# /usr/lib/<triplet>, the triplet that the compiler's own library folders name. The packages of
# several machines then install side by side (Multi-Arch: same), and a cross build finds the
# library of its target machine. An installation from source keeps the folder chosen for it.
if(NOT WIN32)
  set(core_deb_package libquilloncore-dev)  # Debian's name for a library's development files
  set(core_deb_libdir ${CMAKE_INSTALL_LIBDIR})
  set(core_deb_multiarch "")
  if(CMAKE_LIBRARY_ARCHITECTURE)
    set(core_deb_libdir lib/${CMAKE_LIBRARY_ARCHITECTURE})
    set(core_deb_multiarch same)
  endif()
  install_quilloncore_library(QuillonCoreDebian ${core_deb_libdir} EXCLUDE_FROM_ALL)
  # The packaged library is stripped as Debian strips a static library: of debug information
  # and the compiler's notes, as the packaged program is, and of GCC's intermediate code for
  # link-time optimisation, which only a GCC of the same version can read. The machine code
  # stays whole.
  if(CMAKE_STRIP)
    install(CODE "execute_process(COMMAND [[${CMAKE_STRIP}]] --enable-deterministic-archives
  --strip-debug --remove-section=.comment --remove-section=.note --remove-section=.gnu.lto_*
  --remove-section=.gnu.debuglto_* --strip-symbol=__gnu_lto_v1 --strip-symbol=__gnu_lto_slim
  \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${core_deb_libdir}/libQuillonCore.a\"
  COMMAND_ERROR_IS_FATAL ANY)" COMPONENT QuillonCoreDebian EXCLUDE_FROM_ALL)
  endif()
endif()

# What the MIT licence asks to travel with the program and the library. The .debs carry it, and
# the changes, in Debian's formats: the copyright file machine-readable, the changelog in
# Debian's entries (cmake/debian_changelog.cmake). These files are for the packages alone
# (EXCLUDE_FROM_ALL): an installation from source gets none of them.
set(CPACK_PACKAGE_CONTACT "The Lettrix developers <lettrix@example.org>" CACHE STRING
    "Maintainer of the packages, with a contact address")
if(WIN32)
  install(FILES LICENSE DESTINATION ${tool_dir} COMPONENT Lettrix)
else()
  file(READ LICENSE license)
  string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" copyright_line "${license}")
  set(copyright_holders "${CMAKE_MATCH_1}")
  # Debian's name for the MIT licence of this text is Expat; its paragraphs are indented, and
  # an empty line is a lone full stop.
  string(REGEX REPLACE "^.*\n(Permission is hereby granted)" "\\1" license_text "${license}")
  string(STRIP "${license_text}" license_text)
  string(REGEX REPLACE "\n\n" "\n.\n" license_text "${license_text}")
  string(REGEX REPLACE "\n" "\n " license_text " ${license_text}")
  configure_file(cmake/debian_copyright.in ${PROJECT_BINARY_DIR}/debian/copyright @ONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS LICENSE)

  # Each package carries both in its own folder, as Debian asks; they are built from one source,
  # which the changelog names. The changelog is written when a package is made, the only time
  # it is needed.
  foreach(package IN ITEMS "lettrix;Debian" "${core_deb_package};QuillonCoreDebianDocs")
    list(GET package 0 name)
    list(GET package 1 component)
    set(changelog ${PROJECT_BINARY_DIR}/debian/${name}/changelog)
    install(CODE "set(NEWS [[${PROJECT_SOURCE_DIR}/NEWS.md]])
set(OUTPUT [[${changelog}]])
set(PACKAGE lettrix)
set(MAINTAINER [[${CPACK_PACKAGE_CONTACT}]])
include([[${PROJECT_SOURCE_DIR}/cmake/debian_changelog.cmake]])
set(INPUT [[${changelog}]])
set(OUTPUT [[${changelog}.gz]])
include([[${PROJECT_SOURCE_DIR}/cmake/gzip.cmake]])" COMPONENT ${component} EXCLUDE_FROM_ALL)
    install(FILES ${PROJECT_BINARY_DIR}/debian/copyright ${changelog}.gz
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${name} COMPONENT ${component}
            EXCLUDE_FROM_ALL)
  endforeach()
  # The example tools, each in its folder, to be built where it lies, with find_package or with
  # pkg-config.
  set(core_doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/${core_deb_package})
  set(example_files examples/bytecount/CMakeLists.txt examples/bytecount/main.cpp
                    examples/wordstat/CMakeLists.txt examples/wordstat/main.cpp
                    examples/excerpt/CMakeLists.txt examples/excerpt/main.cpp)
  # The library guide beside it, and the README whose Installing section the guide points to.
  # Their links are made to hold there as they are installed (cmake/doc_links.cmake), from the
  # files of the source tree that the folder holds and where each lies in it.
  set(doc_files README.md docs/library.md)
  set(doc_names README.md library.md)
  foreach(file IN LISTS example_files)
    cmake_path(GET file PARENT_PATH folder)
    install(FILES ${file} DESTINATION ${core_doc_dir}/${folder} COMPONENT QuillonCoreDebianDocs
            EXCLUDE_FROM_ALL)
    list(APPEND doc_files ${file} ${folder})
    list(APPEND doc_names ${file} ${folder})
  endforeach()
  foreach(document IN ITEMS README.md docs/library.md)
    cmake_path(GET document FILENAME name)
    set(output ${PROJECT_BINARY_DIR}/debian/${core_deb_package}/${name})
    install(CODE "set(INPUT [[${PROJECT_SOURCE_DIR}/${document}]])
set(OUTPUT [[${output}]])
set(SOURCE_DIR [[${PROJECT_SOURCE_DIR}]])
set(FILES [[${doc_files}]])
set(NAMES [[${doc_names}]])
include([[${PROJECT_SOURCE_DIR}/cmake/doc_links.cmake]])"
            COMPONENT QuillonCoreDebianDocs EXCLUDE_FROM_ALL)
    install(FILES ${output} DESTINATION ${core_doc_dir} COMPONENT QuillonCoreDebianDocs
            EXCLUDE_FROM_ALL)
  endforeach()

  # The static link is chosen on purpose (CMakeLists.txt), which lintian would question.
  if(LETTRIX_STATIC)
    install(FILES cmake/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides
            RENAME lettrix COMPONENT Debian EXCLUDE_FROM_ALL)
  endif()
endif()

# The program's package, and on Linux the library's development package beside it.
set(CPACK_PACKAGE_NAME Lettrix)
set(CPACK_PACKAGE_VENDOR "The Lettrix developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
# Folders in the package do not depend on the umask of whoever builds it.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/cpack_options.cmake)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_COMPONENTS_ALL Lettrix)
  set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
  set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)  # unpacks into one folder, not beside others
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_GROUPING ONE_PER_GROUP)
  set(CPACK_COMPONENTS_ALL Lettrix Debian QuillonCore QuillonCoreDebian QuillonCoreDebianDocs)
  foreach(component IN LISTS CPACK_COMPONENTS_ALL)
    string(TOUPPER ${component} component_var)
    if(component MATCHES "^(Lettrix|Debian)$")
      set(CPACK_COMPONENT_${component_var}_GROUP Program)
    else()
      set(CPACK_COMPONENT_${component_var}_GROUP Development)
    endif()
  endforeach()
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  # Each description's first line is its summary, and the lines stand as in the control file,
  # each under 80 columns. CPACK_PACKAGE_DESCRIPTION_SUMMARY stays unset: CPack would put it
  # before both descriptions.
  set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME lettrix)  # Debian allows no capitals in package names
  set(CPACK_DEBIAN_PROGRAM_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PROGRAM_DESCRIPTION "\
change the case of strings given on the command line
Lettrix writes each string given on its command line in upper case, lower
case, proper name case or inverted case, mirrored byte by byte, or with its
words in reverse order. The results come out in command-line order, one per
line or all on one line, and the exit code tells valid from invalid syntax.

Switches are case-insensitive and may be written with -, -- or /. The package
holds the manual page and bash, zsh and fish completion.")
  set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME ${core_deb_package})
  set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
  set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SOURCE lettrix)
  # No tool on the library links without its build stamp, which CMake writes, with or without
  # a CMake build. The library's objects, compiled by GCC 12 for C++20, need that compiler's C++
  # library or a later one; the compiler that brings it is the user's choice. pkg-config serves
  # builds without CMake alone: Debian's pkgconf, which Debian 12 and 13 both have, and whose
  # old name pkg-config the lintian of Debian 13 calls obsolete.
  set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "cmake (>= 3.25)")
  set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_RECOMMENDS "g++ (>= 4:12)")
  set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SUGGESTS pkgconf)
  set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION "\
QuillonCore console-tool library (development files)
QuillonCore is the library under Lettrix, for console tools that take
switches and operands: their declaration and lookup, the judgement of the
whole command line, the syntax-error report, the output channels, and the
identity record with its banner and its build stamp.

This package holds the headers, the static library, the CMake package
QuillonCore with the function that stamps each tool's build, the pkg-config
module quilloncore, and in /usr/share/doc/${core_deb_package} the guide to
writing a tool on the library, library.md, with the sources of the three
complete small tools that it builds in examples.")
  # Read by cmake/deb_installed_size.cmake, which adds the Multi-Arch field that CPack does not
  # write, and says of the program's package alone that it depends on nothing.
  set(CPACK_LETTRIX_STATIC ${LETTRIX_STATIC})
  set(CPACK_QUILLONCORE_PACKAGE ${core_deb_package})
  set(CPACK_QUILLONCORE_MULTIARCH ${core_deb_multiarch})
  # Depends lists the shared libraries the program needs, as dpkg-shlibdeps finds them; a
  # statically linked program needs none, and cmake/cpack_options.cmake says so.
  if(NOT LETTRIX_STATIC)
    set(CPACK_DEBIAN_PROGRAM_PACKAGE_SHLIBDEPS ON)
  endif()
  # CPack counts directories and the targets of links into Installed-Size; the package is
  # rewritten with the size as Debian counts it (cmake/deb_installed_size.cmake).
  set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/deb_installed_size.cmake)
  # A cross build packages for its target, not for the machine that builds it (dpkg's default).
  # A dynamically linked one would need the target's libraries installed through dpkg
  # (multiarch) for dpkg-shlibdeps to find them.
  if(CMAKE_CROSSCOMPILING)
    include(${PROJECT_SOURCE_DIR}/cmake/QuillonCoreMachine.cmake)
    quilloncore_classify_machine("${CMAKE_SYSTEM_PROCESSOR}" "${CMAKE_SIZEOF_VOID_P}" tag
                                 CPACK_DEBIAN_PACKAGE_ARCHITECTURE)
    if(NOT CPACK_DEBIAN_PACKAGE_ARCHITECTURE)
      message(WARNING "No Debian architecture known for ${CMAKE_SYSTEM_PROCESSOR}: set "
                      "CPACK_DEBIAN_PACKAGE_ARCHITECTURE")
    endif()
  endif()
endif()
include(CPack)
