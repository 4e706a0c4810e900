// "Settings.ini": read once at start-up, created with the defaults when there is none.
#pragma once

void LoadSettings();
