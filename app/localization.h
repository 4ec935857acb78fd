// What differs between the plain and the localized program: the localized one loads a
// language dictionary at start-up and looks up the File and Config menus' labels in it.
// Each program links one of the two implementations.
#pragma once

class BApplication;

// Loads the dictionary that lies beside the program; the plain program has none.
void load_language_dictionary(BApplication* application);
// The label to show for a menu label key; the plain program shows the key.
const char* menu_label(const char* key);
