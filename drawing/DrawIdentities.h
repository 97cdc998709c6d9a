#pragma once
// The numbers that stand for drawings and their variables on the kernel's
// side. A number is handed out the first time an object is sent and stays
// the object's until it is deleted; numbers are never reused while the
// program runs. A number read back from the kernel is looked up here, so an
// answer can only name an object that was sent and is still alive.
#include <cstdint>

class DiagramComp;
class DrawVariable;

namespace DrawIdentities {

int32_t OfVariable(const DrawVariable* variable);
// The live variable of that number, or null.
DrawVariable* Variable(int32_t identity);
void ForgetVariable(const DrawVariable* variable);

int32_t OfDiagram(const DiagramComp* diagram);
DiagramComp* Diagram(int32_t identity);
void ForgetDiagram(const DiagramComp* diagram);

} // namespace DrawIdentities
