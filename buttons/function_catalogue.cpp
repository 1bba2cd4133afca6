#include "buttons/function_catalogue.h"

function_catalogue_c::function_catalogue_c() = default;
function_catalogue_c::~function_catalogue_c() = default;
