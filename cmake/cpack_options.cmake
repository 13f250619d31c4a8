# Read by cpack for each package it makes.
if(CPACK_GENERATOR STREQUAL "DEB")
  # Debian's zsh searches vendor-completions under /usr, not site-functions.
  set(CPACK_CUSTOM_INSTALL_VARIABLES "LETTRIX_ZSH_DIR=share/zsh/vendor-completions")
endif()
