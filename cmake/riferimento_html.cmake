# The reference for authors (docs/sorgenti.md) as one HTML page for the
# release archives, rendered with Debian's cmark-gfm (tables as GitHub shows
# them). Each heading gets the id GitHub gives it, so the document's own
# links ("#gli-avvisi") work in the page as they do on GitHub; a link to a
# place the page does not have stops the build.
#
#   cmake -DCMARK=<cmark-gfm> -DINGRESSO=docs/sorgenti.md -DUSCITA=sorgenti.html -P riferimento_html.cmake
cmake_minimum_required(VERSION 3.20)

execute_process(COMMAND "${CMARK}" -e table -e autolink "${INGRESSO}"
                OUTPUT_VARIABLE corpo RESULT_VARIABLE esito)
if(NOT esito EQUAL 0)
  message(FATAL_ERROR "${CMARK} failed on ${INGRESSO}")
endif()

# GitHub's id of a heading: its text without tags, in lower case, without
# punctuation but - and _, blanks made -.
function(identificativo testo uscita)
  string(REGEX REPLACE "<[^>]*>" "" t "${testo}")
  string(REPLACE "&quot;" "\"" t "${t}")
  string(REPLACE "&amp;" "&" t "${t}")
  string(REPLACE "&lt;" "<" t "${t}")
  string(REPLACE "&gt;" ">" t "${t}")
  string(REPLACE "&#39;" "'" t "${t}")
  string(TOLOWER "${t}" t)
  string(REGEX REPLACE "[][!\"#$%&'()*+,./:;<=>?@\\^`{|}~]" "" t "${t}")
  string(REPLACE " " "-" t "${t}")
  set(${uscita} "${t}" PARENT_SCOPE)
endfunction()

set(pagina "")
set(ids "")
string(REPLACE ";" "\\;" corpo "${corpo}")
string(REPLACE "\n" ";" righe "${corpo}")
foreach(riga IN LISTS righe)
  if(riga MATCHES "^<h([1-6])>(.*)</h[1-6]>$")
    identificativo("${CMAKE_MATCH_2}" id)
    list(APPEND ids "${id}")
    set(riga "<h${CMAKE_MATCH_1} id=\"${id}\">${CMAKE_MATCH_2}</h${CMAKE_MATCH_1}>")
  endif()
  string(APPEND pagina "${riga}\n")
endforeach()

# Every link inside the page has its place.
string(REGEX MATCHALL "href=\"#[^\"]*\"" collegamenti "${pagina}")
foreach(c IN LISTS collegamenti)
  string(REGEX REPLACE "^href=\"#(.*)\"$" "\\1" dove "${c}")
  # The page's links are percent-encoded UTF-8; the ids are plain UTF-8.
  string(REGEX MATCHALL "%[0-9A-F][0-9A-F]" codici "${dove}")
  foreach(codice IN LISTS codici)
    string(SUBSTRING "${codice}" 1 2 esa)
    math(EXPR valore "0x${esa}")
    string(ASCII ${valore} carattere)
    string(REPLACE "${codice}" "${carattere}" dove "${dove}")
  endforeach()
  if(NOT dove IN_LIST ids)
    message(FATAL_ERROR "${INGRESSO}: the link #${dove} has no heading in the page")
  endif()
endforeach()

file(WRITE "${USCITA}" "<!DOCTYPE html>
<html lang=\"it\">
<head>
<meta charset=\"utf-8\">
<title>Scrivere uno scenario: i testi sorgente</title>
<style>
body { font-family: sans-serif; max-width: 60em; margin: 2em auto; padding: 0 1em; line-height: 1.4; }
table { border-collapse: collapse; } td, th { border: 1px solid #bbb; padding: 0.2em 0.5em; vertical-align: top; }
code, pre { background: #f4f4f4; } pre { padding: 0.5em; overflow-x: auto; }
</style>
</head>
<body>
${pagina}</body>
</html>
")
