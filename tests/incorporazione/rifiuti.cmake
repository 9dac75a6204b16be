# What the embedding of a scenario folder accepts and what it refuses, and how
# it says so: each case writes a folder, runs the generator on it, and checks
# the outcome and the message (file and line named).
#
#   cmake -DGENERATORE=<incorpora_scenario program> -DLAVORO=<scratch folder> -P rifiuti.cmake
cmake_minimum_required(VERSION 3.20)

set(falliti 0)

# A folder of the smallest valid texts and names, then `file` replaced by the
# bytes given as hex pairs, none of them 00 (an empty `esa` writes an empty
# file; "-" removes it).
function(prepara cartella file esa)
  file(REMOVE_RECURSE "${cartella}")
  file(MAKE_DIRECTORY "${cartella}")
  foreach(f linea.txt treno.txt note.txt rallentamenti.txt scheda_treno.txt)
    file(WRITE "${cartella}/${f}" "x\r\n")
  endforeach()
  file(WRITE "${cartella}/nome_scenario.txt" "Prova")
  file(WRITE "${cartella}/numero_treno.txt" "123")
  if(esa STREQUAL "-")
    file(REMOVE "${cartella}/${file}")
  elseif(NOT file STREQUAL "")
    set(byte "")
    string(LENGTH "${esa}" n)
    set(i 0)
    while(i LESS n)
      string(SUBSTRING "${esa}" ${i} 2 coppia)
      math(EXPR valore "0x${coppia}")
      string(ASCII ${valore} c)
      string(APPEND byte "${c}")
      math(EXPR i "${i} + 2")
    endwhile()
    file(WRITE "${cartella}/${file}" "${byte}")
  endif()
endfunction()

# Runs the generator on the folder; `atteso` is "ok" or "errore", `messaggio`
# a regular expression the output must match ("" for none), `vietato` one it
# must not match ("" for none).
function(prova nome file esa atteso messaggio vietato)
  set(cartella "${LAVORO}/${nome}")
  prepara("${cartella}" "${file}" "${esa}")
  execute_process(
    COMMAND "${GENERATORE}" "${cartella}" "${cartella}/dati.cc" "prova/${nome}"
    RESULT_VARIABLE r OUTPUT_VARIABLE out ERROR_VARIABLE err)
  string(REGEX REPLACE "[ \n]+" " " uscita "${out}${err}")
  set(esito ok)
  if(NOT r EQUAL 0)
    set(esito errore)
  endif()
  set(male "")
  if(NOT esito STREQUAL atteso)
    set(male "expected ${atteso}, got ${esito}")
  elseif(NOT messaggio STREQUAL "" AND NOT uscita MATCHES "${messaggio}")
    set(male "message does not match '${messaggio}'")
  elseif(NOT vietato STREQUAL "" AND uscita MATCHES "${vietato}")
    set(male "message matches '${vietato}'")
  elseif(esito STREQUAL "ok" AND NOT EXISTS "${cartella}/dati.cc")
    set(male "no generated file")
  elseif(esito STREQUAL "errore" AND EXISTS "${cartella}/dati.cc")
    set(male "a generated file after a refusal")
  endif()
  if(male)
    message(SEND_ERROR "${nome}: ${male}\n${out}${err}")
    math(EXPR falliti "${falliti} + 1")
    set(falliti ${falliti} PARENT_SCOPE)
  else()
    message(STATUS "${nome}: ok")
  endif()
endfunction()

# Hex of `n` lines "x" with CR LF, then `coda`.
function(righe_x n coda uscita)
  string(REPEAT "780d0a" ${n} esa)
  set(${uscita} "${esa}${coda}" PARENT_SCOPE)
endfunction()

# "riferimento fine del file" in hex.
string(HEX "riferimento fine del file" marcatore)

righe_x(1000 "" mille)
righe_x(1001 "" mille_e_una)
righe_x(999 "${marcatore}" marcatore_ultima)

#     name                           file               bytes (hex)                      outcome message
prova(cartella_minima                ""                 ""                               ok     "" ".")
prova(mille_righe                    linea.txt          "${mille}"                       ok     "" "")
prova(mille_e_una_riga               linea.txt          "${mille_e_una}"                 errore "prova/mille_e_una_riga/linea.txt:1001: il sorgente della linea ha 1001 righe, al massimo 1000" "")
prova(segnale_di_fine                treno.txt          "780d0a790d0a${marcatore}0d0a7a0d0a" errore "prova/segnale_di_fine/treno.txt:3: il sorgente del treno, riga 3: la riga \"riferimento fine del file\" chiude l'elenco" "")
prova(segnale_di_fine_senza_a_capo   note.txt           "${marcatore_ultima}"            errore "note.txt:1000: le note, riga 1000: la riga \"riferimento fine del file\"" "")
prova(segnale_di_fine_con_spazio     note.txt           "${marcatore}200d0a"             ok     "" "")
prova(segnale_di_fine_maiuscolo      note.txt           "52${marcatore}0d0a"             ok     "" "")
# A CR alone ends a line, as the build reads its sources.
prova(cr_da_solo_chiude_la_riga      rallentamenti.txt  "610d0a620d630d0a"               ok     "" ".")
prova(cr_in_fondo                    scheda_treno.txt   "610d"                           ok     "" ".")
prova(testo_mancante                 scheda_treno.txt   "-"                              errore "prova/testo_mancante/scheda_treno.txt: manca" "")
prova(nome_mancante                  numero_treno.txt   "-"                              errore "numero_treno.txt: manca" "")
prova(nome_vuoto                     nome_scenario.txt  ""                               errore "nome_scenario.txt: il nome dello scenario \"\" è vuoto" "")
prova(nome_solo_a_capo               nome_scenario.txt  "0d0a"                           errore "nome_scenario.txt: il nome dello scenario \"\" è vuoto" "")
prova(nome_con_a_capo                nome_scenario.txt  "41200d0a"                       ok     "nome_scenario.txt:1:2: attenzione: il nome dello scenario \"A \" comincia o finisce con uno spazio.*[[]nome_con_spazi[]]" "")
prova(nome_su_due_righe              nome_scenario.txt  "410a42"                         errore "nome_scenario.txt:2: il nome dello scenario sta su una riga sola" "")
prova(numero_con_una_riga_vuota      numero_treno.txt   "31320d0a0d0a"                   errore "numero_treno.txt:2: il numero del treno sta su una riga sola.*la riga 2 è una riga vuota" "")
prova(nome_con_barra                 numero_treno.txt   "31322f33"                       errore "numero_treno.txt: il numero del treno \"12/3\" contiene un separatore di cartelle" "")
prova(nome_con_due_punti             numero_treno.txt   "313a"                           errore "contiene il carattere :" "")
prova(nome_con_due_punti_di_fila     nome_scenario.txt  "412e2e42"                       errore "nome_scenario.txt: il nome dello scenario \"A[.][.]B\" contiene \"[.][.]\"" "")
prova(nome_con_un_punto              nome_scenario.txt  "412e42"                         ok     "" "")
prova(nome_con_tabulazione           nome_scenario.txt  "410942"                         errore "contiene un carattere di controllo" "")
prova(nome_accentato                 nome_scenario.txt  "50e8"                           ok     "" ".")
prova(testo_in_windows_1252          note.txt           "e80d0a"                         ok     "" "UTF-8")
# UTF-8 is converted; what Windows-1252 cannot hold is refused at its line and
# column (in characters), as is a text with the byte-order mark that is not UTF-8.
prova(testo_in_utf8                  note.txt           "c3a80d0a"                       ok     "" ".")
prova(testo_in_utf8_con_bom          note.txt           "efbbbfc3a80d0a"                 ok     "" "")
prova(nome_in_utf8                   nome_scenario.txt  "50c3b2"                         ok     "" "")
prova(utf8_fuori_da_1252             linea.txt          "780d0ac3a0e286920d0a"           errore "prova/utf8_fuori_da_1252/linea.txt:2:2: il carattere U[+]2192 \"→\" non esiste in Windows-1252" "")
prova(emoji_nel_nome                 numero_treno.txt   "31f09f9a82"                     errore "numero_treno.txt:1:2: il carattere U[+]1F682" "")
prova(bom_e_non_utf8                 treno.txt          "efbbbf78e80d0a"                 errore "treno.txt:1:2: il byte 0xE8 non è UTF-8 valido" "")
string(REPEAT "41" 225 lungo)
prova(nomi_troppo_lunghi             nome_scenario.txt  "${lungo}"                       errore "nome_scenario.txt: i due nomi danno nomi di file troppo lunghi: 256 byte, al massimo 255" "")
string(REPEAT "41" 224 lungo)
prova(nomi_lunghi_che_stanno         nome_scenario.txt  "${lungo}"                       ok     "" "")

# What a converted text becomes: the Windows-1252 bytes the program carries.
foreach(caso "testo_in_utf8;note.txt;e80d0a" "testo_in_utf8_con_bom;note.txt;e80d0a" "nome_in_utf8;nome_scenario.txt;50f2")
  list(GET caso 0 nome)
  list(GET caso 1 file)
  list(GET caso 2 atteso)
  file(READ "${LAVORO}/${nome}/testi/${file}" convertito HEX)
  if(NOT convertito STREQUAL atteso)
    message(SEND_ERROR "${nome}: ${file} converted to ${convertito}, not ${atteso}")
    math(EXPR falliti "${falliti} + 1")
  endif()
endforeach()

if(falliti GREATER 0)
  message(FATAL_ERROR "${falliti} case(s) failed")
endif()
