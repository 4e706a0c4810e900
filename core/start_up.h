#pragma once

void StartUp();
void MeasureDesktop();
void OpenOwnerWindow();
void OpenBarWindow();
