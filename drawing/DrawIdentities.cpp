#include "drawing/DrawIdentities.h"

#include "drawing/DrawingNodes.h"
#include "kernel/KernelReader.h"

#include <unordered_map>

namespace {

// Drawings and variables draw from one sequence, so that a drawing's number
// never names a variable.
int32_t gLast = 0;

template <typename T>
class Registry {
public:
    int32_t Of(const T* object)
    {
        if (auto found = m_numbers.find(object); found != m_numbers.end())
            return found->second;
        // Answers read back turn into drawing nodes from now on.
        InstallDrawVarReadMaker(&DrawVarNode::FromKernel);
        const int32_t number = ++gLast;
        m_numbers.emplace(object, number);
        m_objects.emplace(number, const_cast<T*>(object));
        return number;
    }
    T* Find(int32_t number) const
    {
        auto found = m_objects.find(number);
        return found == m_objects.end() ? nullptr : found->second;
    }
    void Forget(const T* object)
    {
        auto found = m_numbers.find(object);
        if (found == m_numbers.end())
            return;
        m_objects.erase(found->second);
        m_numbers.erase(found);
    }

private:
    std::unordered_map<const T*, int32_t> m_numbers;
    std::unordered_map<int32_t, T*> m_objects;
};

Registry<DrawVariable>& Variables()
{
    // Never destroyed: variables of documents freed at exit still leave it.
    static auto* registry = new Registry<DrawVariable>;
    return *registry;
}

Registry<DiagramComp>& Diagrams()
{
    static auto* registry = new Registry<DiagramComp>;
    return *registry;
}

} // namespace

namespace DrawIdentities {

int32_t OfVariable(const DrawVariable* variable) { return Variables().Of(variable); }
DrawVariable* Variable(int32_t identity) { return Variables().Find(identity); }
void ForgetVariable(const DrawVariable* variable) { Variables().Forget(variable); }

int32_t OfDiagram(const DiagramComp* diagram) { return Diagrams().Of(diagram); }
DiagramComp* Diagram(int32_t identity) { return Diagrams().Find(identity); }
void ForgetDiagram(const DiagramComp* diagram) { Diagrams().Forget(diagram); }

} // namespace DrawIdentities
