#include "drawing/NamedValuesSnapshot.h"

#include <algorithm>
#include <iterator>
#include <utility>

NamedValuesSnapshot::NamedValuesSnapshot(DrawVarTable& table) : m_table(table), m_saved(Capture(table))
{}

std::vector<NamedValuesSnapshot::Held> NamedValuesSnapshot::Capture(const DrawVarTable& table)
{
    std::vector<Held> held;
    for (int i = 0; i < table.GetCount(); ++i)
        held.push_back({&table.GetAt(i), table.GetAt(i).variable->GetValue()});
    return held;
}

void NamedValuesSnapshot::Swap()
{
    std::vector<Held> present = Capture(m_table);
    DrawVarTable::Entries pool = m_table.TakeEntries();
    std::move(m_spare.begin(), m_spare.end(), std::back_inserter(pool));
    m_spare.clear();
    DrawVarTable::Entries entries;
    std::vector<double> values;
    for (const Held& held : m_saved) {
        // An entry the table dropped in the meantime has nothing to give back.
        auto found =
            std::find_if(pool.begin(), pool.end(), [&](const auto& entry) { return entry.get() == held.entry; });
        if (found == pool.end())
            continue;
        entries.push_back(std::move(*found));
        pool.erase(found);
        values.push_back(held.value);
    }
    m_spare = std::move(pool);
    m_table.SetEntries(std::move(entries));
    // The displays that follow a value see the table as it stands.
    for (int i = 0; i < m_table.GetCount(); ++i)
        m_table.GetAt(i).variable->SetValue(values[static_cast<size_t>(i)]);
    m_saved = std::move(present);
}
