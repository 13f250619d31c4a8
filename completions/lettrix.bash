# SPDX-License-Identifier: MIT
# bash completion for Lettrix and its lower-case link lettrix.

_lettrix() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=
  ((COMP_CWORD > 1)) && prev=${COMP_WORDS[COMP_CWORD - 1]}
  COMPREPLY=()

  # The argument after a transformation switch is its text, even when it looks like a switch;
  # there is nothing to offer for it.
  case ${prev,,} in
    -u | -l | -p | -i | -m | -w | /u | /l | /p | /i | /m | /w) return ;;
    --upper | --lower | --proper | --invert | --mirror | --reverse-words) return ;;
    /upper | /lower | /proper | /invert | /mirror | /reverse-words) return ;;
  esac

  local forms=(
    -u --upper -L --lower -p --proper -i --invert -m --mirror -w --reverse-words
    -r --reverse-all -a --allow-blanks -o --one-line -n --no-spaces -x --extended-delims
    -b --banner -v --verbose --build -h --help '-?' --h2 '--??' --help2
    --info --version-only --build-only --audible-error --error-delay --debug-mode --debug
  )
  local form
  case $cur in
    '' | -*) ;;
    /*)
      # Every switch also takes "/" for its "-" or "--".
      local i
      for i in "${!forms[@]}"; do
        form=${forms[i]#--}
        forms[i]=/${form#-}
      done
      ;;
    *) return ;;
  esac
  # Switches ignore case, so "--UP" completes to --upper too. Each form goes in quoted as the
  # shell reads it back: -? and --?? are patterns that would turn into matching file names.
  for form in "${forms[@]}"; do
    if [[ ${form,,} == "${cur,,}"* ]]; then
      printf -v form %q "$form"
      COMPREPLY+=("$form")
    fi
  done
}
complete -F _lettrix Lettrix lettrix
