#pragma once
// Registers the calculus components (integral, sum, product, radical, limit,
// tagged variable, total and partial derivative) with the component factory,
// so rows create them from their stored tags. Safe to call more than once.
void RegisterCalculusComponents();
