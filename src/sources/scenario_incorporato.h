// The scenario compiled into a package program. The core declares it only;
// each package program links the definition generated at build time from one
// scenario folder (cmake/scenario_package.cmake), so it carries exactly one.
#pragma once

#include "sources/scenario.h"

scenario scenario_incorporato();
