#pragma once
// Registers every component class a document can hold: the foundation's own
// and all the mathematical ones. Called once at start-up; further calls do
// nothing.
void RegisterMathComponents();
