#include "drawing/NamedValuesSnapshot.h"

#include <algorithm>
#include <iterator>
#include <unordered_map>
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
    std::unordered_map<const DrawVarEntry*, size_t> places;
    for (size_t i = 0; i < pool.size(); ++i)
        places.emplace(pool[i].get(), i);
    DrawVarTable::Entries entries;
    std::vector<double> values;
    for (const Held& held : m_saved) {
        // An entry the table dropped in the meantime has nothing to give back.
        auto found = places.find(held.entry);
        if (found == places.end())
            continue;
        entries.push_back(std::move(pool[found->second]));
        values.push_back(held.value);
    }
    std::erase(pool, nullptr);
    m_spare = std::move(pool);
    m_table.SetEntries(std::move(entries));
    // The displays that follow a value see the table as it stands.
    for (int i = 0; i < m_table.GetCount(); ++i)
        m_table.GetAt(i).variable->SetValue(values[static_cast<size_t>(i)]);
    m_saved = std::move(present);
}
