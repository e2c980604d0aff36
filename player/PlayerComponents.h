#pragma once
// Registers the player's component classes for window layouts.
void RegisterPlayerComponents();
