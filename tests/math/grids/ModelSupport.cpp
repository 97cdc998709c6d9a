// The component-model test fixture of the document foundation, shared here
// so that grids are laid out with the same fixed-size items.
#include "foundation/model/ModelTestSupport.cpp"
