# The one classification of a target machine, for the banner's tag and the Debian architecture:
#   quilloncore_classify_machine(<processor> <pointer size> <tag var> <Debian architecture var>)
# The tag is one of the three that the banner has always known, each after a space: x64, arm64
# and x86, the last also for 32-bit code from an x86-64 compiler. Every other machine, s390x
# among them, gets none, the form the banner has for them: "v3.0.0 (date)" still reads as it
# should, and no reader of the banner meets a tag it has never seen. The architecture is empty
# where Debian's name is not known here.
function(quilloncore_classify_machine processor pointer_size tag_var debian_var)
  string(TOLOWER "${processor}" processor)
  set(tag "")
  set(debian "")
  if(processor MATCHES "^(x86_64|amd64|x64)$" AND pointer_size EQUAL 8)
    set(tag " x64")
    set(debian amd64)
  elseif(processor MATCHES "^(aarch64|arm64)$")
    set(tag " arm64")
    set(debian arm64)
  elseif(processor MATCHES "^(i[3-6]86|x86|x86_64|amd64)$")
    set(tag " x86")
    set(debian i386)
  elseif(processor STREQUAL "s390x")
    set(debian s390x)
  endif()
  set(${tag_var} "${tag}" PARENT_SCOPE)
  set(${debian_var} "${debian}" PARENT_SCOPE)
endfunction()
