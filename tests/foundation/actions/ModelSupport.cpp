// The shared component-model test pieces, built into this test program too.
#include "../model/ModelTestSupport.cpp"
