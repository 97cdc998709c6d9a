// The shared component-model test pieces, built into this test program too.
#include "../../foundation/model/ModelTestSupport.cpp"
