// `scenario explain CODE`: what an error number or a warning's code means,
// in the words of the reference for authors (docs/sorgenti.md), which is
// built into the tool, so the explanation and the reference never differ.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

// The reference as built in (generated from docs/sorgenti.md).
extern const std::string_view riferimento_md;

// The row of the reference's tables about `codice` ("15", "E15", "e15" for
// error 15; "chiave_sconosciuta" for a code): its first cell, then each other
// cell after its column's name, one a line, as the reference words them
// without their Markdown marks. None when the reference has no such row.
std::optional<std::string> spiegazione(std::string_view codice, std::string_view riferimento = riferimento_md);

// The whole command; 0 explained, 2 a code the reference does not have (the
// nearest ones named).
int comando_explain(std::string_view codice, std::ostream& stampa, std::ostream& errori);
