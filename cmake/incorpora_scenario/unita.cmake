# The core's units that incorpora_scenario compiles in (each a .h and a .cc
# under src/), and the headers it takes alone: listed once, for its own build
# and for the dependencies that make cmake/scenario_package.cmake build it
# again.
set(INCORPORA_UNITA diagnosi/codici diagnosi/diagnostica diagnosi/riga_gnu model/nomi_file model/righe_testo
    model/testo_autore model/testo_mostrabile model/windows1252 sources/cartella_scenario sources/scenario)
set(INCORPORA_INTESTAZIONI sources/elenco_righe.h)
