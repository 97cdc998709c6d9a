#pragma once
// Registers the cross-reference component with the component registry and
// installs the maker that selections use to copy a number label as a
// reference. Called once at start-up (after the foundation's own classes);
// further calls do nothing.
void RegisterRefComponents();
