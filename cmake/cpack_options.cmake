# Read by cpack for each package it makes.
if(CPACK_GENERATOR STREQUAL "DEB")
  # Debian's zsh searches vendor-completions under /usr, not site-functions.
  set(CPACK_CUSTOM_INSTALL_VARIABLES "LETTRIX_ZSH_DIR=share/zsh/vendor-completions")
  # A statically linked program depends on no package. CPack would print a note for an empty
  # Depends that reads like a fault; cmake/deb_installed_size.cmake states it instead.
  if(CPACK_LETTRIX_STATIC)
    set(CMAKE_MESSAGE_LOG_LEVEL NOTICE)
  endif()
endif()
