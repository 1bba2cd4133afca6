// The function catalogue behind every button row: the menu tree of the host's menus.
#pragma once

class function_catalogue_c {
public:
    function_catalogue_c();
    ~function_catalogue_c();
};
