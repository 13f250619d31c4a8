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
  # program itself (through the emulator when cross-built), so it can never drift from it.
  set(help_text ${PROJECT_BINARY_DIR}/Lettrix-help.txt)
  add_custom_command(OUTPUT ${help_text}
    COMMAND ${CMAKE_COMMAND} "-DPROGRAM=$<TARGET_FILE:Lettrix>"
            "-DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}" -DOUTPUT=${help_text}
            -P ${PROJECT_SOURCE_DIR}/cmake/write_help_text.cmake
    DEPENDS Lettrix ${PROJECT_SOURCE_DIR}/cmake/write_help_text.cmake
    COMMENT "Writing the help screen as text"
    VERBATIM)
  add_custom_target(help_text ALL DEPENDS ${help_text})
  install(FILES ${help_text} DESTINATION ${tool_dir} COMPONENT Lettrix)
endif()

if(UNIX)
  configure_file(man/Lettrix.1.in ${PROJECT_BINARY_DIR}/man/Lettrix.1 @ONLY)
  set(man_dir ${CMAKE_INSTALL_MANDIR}/man1)
  set(bash_dir ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
  set(fish_dir ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d)
  set(LETTRIX_ZSH_COMPLETION_DIR ${CMAKE_INSTALL_DATADIR}/zsh/site-functions CACHE STRING
      "Folder of the zsh completion, relative to the installation prefix")
  install(FILES ${PROJECT_BINARY_DIR}/man/Lettrix.1 DESTINATION ${man_dir} COMPONENT Lettrix)
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
  foreach(link IN ITEMS "${tool_dir};lettrix;Lettrix" "${man_dir};lettrix.1;Lettrix.1"
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
install(FILES core/banner.h core/library.h core/out_of_memory.h core/params.h core/report.h
              core/text.h core/validation.h
        DESTINATION ${core_include_dir}/core COMPONENT QuillonCore)
install(FILES platform/platform.h DESTINATION ${core_include_dir}/platform COMPONENT QuillonCore)
install(EXPORT QuillonCoreTargets NAMESPACE QuillonCore:: DESTINATION ${core_package_dir}
        COMPONENT QuillonCore)
configure_package_config_file(cmake/QuillonCoreConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/QuillonCoreConfig.cmake
                              INSTALL_DESTINATION ${core_package_dir})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/QuillonCoreConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/QuillonCoreConfig.cmake
              ${PROJECT_BINARY_DIR}/QuillonCoreConfigVersion.cmake
        DESTINATION ${core_package_dir} COMPONENT QuillonCore)

# Packages carry the tool only; the library is for those who build from source.
set(CPACK_PACKAGE_NAME Lettrix)
set(CPACK_PACKAGE_VENDOR "The Lettrix developers")
set(CPACK_PACKAGE_CONTACT "The Lettrix developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "change the case of strings given on the command line")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_COMPONENTS_ALL Lettrix)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_STRIP_FILES ON)
# Folders in the package do not depend on the umask of whoever builds it.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/cpack_options.cmake)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)  # unpacks into one folder, not beside others
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_DEBIAN_PACKAGE_NAME lettrix)  # Debian allows no capitals in package names
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()
include(CPack)
