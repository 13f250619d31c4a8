# SPDX-License-Identifier: MIT
# fish completion for Lettrix and its lower-case link lettrix.

# fish inserts each form escaped (-? as -\?), so that the patterns among them never turn into
# matching file names.
for command in Lettrix lettrix
    # The program reads no files; a transformation switch takes free text (-x: no files).
    complete -c $command -f
    complete -c $command -s u -l upper -x -d 'Convert string to all uppercase'
    complete -c $command -s L -l lower -x -d 'Convert string to all lowercase'
    complete -c $command -s p -l proper -x -d 'Convert string to Proper Name Case'
    complete -c $command -s i -l invert -x -d 'Invert the case of every character'
    complete -c $command -s m -l mirror -x -d 'Reverse the string by individual characters'
    complete -c $command -s w -l reverse-words -x -d 'Reverse the string by whole words'
    complete -c $command -s r -l reverse-all -d 'Reverse all strings after other processing'
    complete -c $command -s a -l allow-blanks -d 'Allow processing of blank strings'
    complete -c $command -s o -l one-line -d 'Process all case changes on a single line'
    complete -c $command -s n -l no-spaces -d 'No spaces between the strings with -o'
    complete -c $command -s x -l extended-delims -d 'Also split words at ";" and "," for -w'
    complete -c $command -s b -l banner -d 'Display the banner'
    complete -c $command -s v -l verbose -l build -d 'Display extended build information'
    complete -c $command -s h -s '?' -l help -d 'Display the help message'
    complete -c $command -l h2 -l '??' -l help2 -d 'Display the extended help'
    complete -c $command -l info -d 'Display banner and build information, then exit'
    complete -c $command -l version-only -l build-only -d 'Display build information only'
    complete -c $command -l audible-error -d 'Beep on syntax error'
    complete -c $command -l error-delay -d 'Wait about 7 seconds after a syntax error'
    complete -c $command -l debug-mode -l debug -d 'Beep and wait after a syntax error'
    # Every switch also takes "/" for its "-" or "--".
    complete -c $command -n 'string match -q -- "/*" (commandline -ct)' -a '/u /upper /L /lower
        /p /proper /i /invert /m /mirror /w /reverse-words /r /reverse-all /a /allow-blanks
        /o /one-line /n /no-spaces /x /extended-delims /b /banner /v /verbose /build /h /help
        /\? /h2 /\?\? /help2 /info /version-only /build-only /audible-error /error-delay
        /debug-mode /debug'
end
