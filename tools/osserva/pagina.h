// The page of `scenario watch` (pagina.html), built into the tool.
#pragma once

#include <string_view>

extern const std::string_view pagina_html;
