#pragma once
// Registers the fraction, script, fence, conjugate, accent and placeholder
// classes with the component factory, so that documents holding them are
// read back. Safe to call more than once.
void RegisterFractionAndDelimiterComponents();
