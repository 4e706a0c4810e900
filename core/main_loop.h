#pragma once

#include "platform/platform.h"

void RunMainLoop();
void ResetClickFlags();
void RecordClick(CanvasEventKind kind);
void ShowBar();
void HideBar();
