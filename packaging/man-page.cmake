# Writes a program's manual page (section 1) from its own --help, so that the
# page never tells of options the program does not have.
#   cmake -DPROGRAM=<executable> -DNAME=<name> -DVERSION=<v> -DOUTPUT=<file.1> -P man-page.cmake
# --help starts with "Uso: ..." (the synopsis); the first sentence of the
# paragraph after it names the program in the NAME section.
execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${PROGRAM} --help
                OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT help MATCHES "^Uso: ")
    message(FATAL_ERROR "${PROGRAM} --help did not print its usage (${status})")
endif()

# Text as roff reads it: backslashes and minus signs escaped, a line that
# starts with a dot or an apostrophe kept as text.
function(roff text out)
    string(REPLACE "\\" "\\e" text "${text}")
    string(REPLACE "-" "\\-" text "${text}")
    string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

string(REGEX MATCH "^Uso: ([^\n]*)\n" _ "${help}")
set(synopsis "${CMAKE_MATCH_1}")
string(REGEX REPLACE "^Uso: [^\n]*\n\n*" "" description "${help}")
# The first paragraph up to the end of its first sentence or a colon.
string(REGEX REPLACE "\n\n.*" "" paragraph "${description}")
string(REPLACE "\n" " " paragraph "${paragraph}")
string(REGEX MATCH "^([^.:]|\\.[^ ])*" summary "${paragraph}")
if(summary STREQUAL "")
    message(FATAL_ERROR "${PROGRAM} --help has no sentence after its usage line")
endif()
string(REGEX REPLACE "\n+$" "" description "${description}")
string(TOUPPER "${NAME}" title)

roff("${synopsis}" synopsis)
roff("${summary}" summary)
roff("${description}" description)
file(WRITE ${OUTPUT} ".\\\" -*- coding: UTF-8 -*-
.\\\" Made from the output of ${NAME} --help.
.TH ${title} 1 \"\" \"${NAME} ${VERSION}\" \"Lumera\"
.SH NOME
${NAME} \\- ${summary}
.SH SINOPSE
.nf
${synopsis}
.fi
.SH DESCRIÇÃO
.nf
${description}
.fi
")
