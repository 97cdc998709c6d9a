#pragma once
// Registers the grid, equation-set, split-definition, link and picture
// classes with the component factory and the archive.
void RegisterGridAndObjectComponents();
