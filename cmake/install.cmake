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
set(core_package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/QuillonCore)
install(TARGETS QuillonCore EXPORT QuillonCoreTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT QuillonCore
        INCLUDES DESTINATION ${core_include_dir})
install(FILES core/banner.h core/channels.h core/dates.h core/frame.h core/library.h
              core/out_of_memory.h core/params.h core/paths.h core/report.h core/text.h
              core/validation.h
        DESTINATION ${core_include_dir}/core COMPONENT QuillonCore)
install(FILES platform/ascii.h platform/platform.h DESTINATION ${core_include_dir}/platform
        COMPONENT QuillonCore)
install(EXPORT QuillonCoreTargets NAMESPACE QuillonCore:: DESTINATION ${core_package_dir}
        COMPONENT QuillonCore)
configure_package_config_file(cmake/QuillonCoreConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/QuillonCoreConfig.cmake
                              INSTALL_DESTINATION ${core_package_dir})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/QuillonCoreConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/QuillonCoreConfig.cmake
              ${PROJECT_BINARY_DIR}/QuillonCoreConfigVersion.cmake
              cmake/QuillonCoreStamp.cmake cmake/QuillonCoreMachine.cmake
              cmake/quilloncore-stamp.cmake
        DESTINATION ${core_package_dir} COMPONENT QuillonCore)
# The same for builds without CMake: pkg-config --cflags --libs quilloncore. Paths are relative to
# the .pc file, so that the installation may move.
file(RELATIVE_PATH pc_prefix /root/${CMAKE_INSTALL_LIBDIR}/pkgconfig /root)
string(REGEX REPLACE "/$" "" pc_prefix "${pc_prefix}")
set(pc_libs "")
if(WIN32)
  set(pc_libs " -luser32")
endif()
configure_file(cmake/quilloncore.pc.in ${PROJECT_BINARY_DIR}/quilloncore.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/quilloncore.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
        COMPONENT QuillonCore)

# What the MIT licence asks to travel with the program. The .deb carries it, and the changes, in
# Debian's formats: the copyright file machine-readable, the changelog in Debian's entries
# (cmake/debian_changelog.cmake). These files are for the package alone (EXCLUDE_FROM_ALL): an
# installation from source gets none of them.
set(CPACK_PACKAGE_CONTACT "The Lettrix developers <lettrix@example.org>" CACHE STRING
    "Maintainer of the packages, with a contact address")
if(WIN32)
  install(FILES LICENSE DESTINATION ${tool_dir} COMPONENT Lettrix)
else()
  set(debian_doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/lettrix)
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

  # The changelog is written when the package is made, the only time it is needed.
  set(changelog ${PROJECT_BINARY_DIR}/debian/changelog)
  install(CODE "set(NEWS [[${PROJECT_SOURCE_DIR}/NEWS.md]])
set(OUTPUT [[${changelog}]])
set(PACKAGE lettrix)
set(MAINTAINER [[${CPACK_PACKAGE_CONTACT}]])
include([[${PROJECT_SOURCE_DIR}/cmake/debian_changelog.cmake]])
set(INPUT [[${changelog}]])
set(OUTPUT [[${changelog}.gz]])
include([[${PROJECT_SOURCE_DIR}/cmake/gzip.cmake]])" COMPONENT Debian EXCLUDE_FROM_ALL)
  install(FILES ${PROJECT_BINARY_DIR}/debian/copyright ${changelog}.gz
          DESTINATION ${debian_doc_dir} COMPONENT Debian EXCLUDE_FROM_ALL)

  # The static link is chosen on purpose (CMakeLists.txt), which lintian would question.
  if(LETTRIX_STATIC)
    install(FILES cmake/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides
            RENAME lettrix COMPONENT Debian EXCLUDE_FROM_ALL)
  endif()
endif()

# Packages carry the tool only; the library is for those who build from source.
set(CPACK_PACKAGE_NAME Lettrix)
set(CPACK_PACKAGE_VENDOR "The Lettrix developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "change the case of strings given on the command line")
# Lines as they stand in the package's control file, each under 80 columns.
set(CPACK_PACKAGE_DESCRIPTION "\
Lettrix writes each string given on its command line in upper case, lower
case, proper name case or inverted case, mirrored byte by byte, or with its
words in reverse order. The results come out in command-line order, one per
line or all on one line, and the exit code tells valid from invalid syntax.

Switches are case-insensitive and may be written with -, -- or /. The package
holds the manual page and bash, zsh and fish completion.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_STRIP_FILES ON)
# Folders in the package do not depend on the umask of whoever builds it.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/cpack_options.cmake)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_COMPONENTS_ALL Lettrix)
  set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)  # unpacks into one folder, not beside others
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_COMPONENTS_ALL Lettrix Debian)
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_DEBIAN_PACKAGE_NAME lettrix)  # Debian allows no capitals in package names
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  # Depends lists the shared libraries the program needs, as dpkg-shlibdeps finds them; a
  # statically linked program needs none, and cmake/cpack_options.cmake says so.
  set(CPACK_LETTRIX_STATIC ${LETTRIX_STATIC})
  if(NOT LETTRIX_STATIC)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
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
