#pragma once
// The eleven paragraph styles, indexed by style kind 0..10; any other index
// gives the plain style (kind 3). The application makes one table at start-up
// (InstallTextLayout) and points gStyleTable at it.
#include "foundation/ParagraphStyle.h"
#include "foundation/StyleKinds.h"

#include <array>
#include <memory>

class StyleTable {
public:
    static constexpr int kStyleCount = StyleKind::kCount;
    static constexpr int kPlainKind = StyleKind::kPlain;
    using Styles = std::array<std::unique_ptr<ParagraphStyle>, kStyleCount>;

    // The eleven paragraph styles of the program.
    StyleTable();
    // Takes the styles, entry i holding the style of kind i.
    explicit StyleTable(Styles styles) : m_styles(std::move(styles)) {}
    StyleTable(const StyleTable&) = delete;
    StyleTable& operator=(const StyleTable&) = delete;

    ParagraphStyle* GetStyle(int index) const
    {
        return m_styles[static_cast<size_t>(index >= 0 && index < kStyleCount ? index : kPlainKind)].get();
    }

    // The style of a kind in the program's table; raises CException when no
    // table has been set up.
    static ParagraphStyle* Lookup(int index);

private:
    Styles m_styles;
};

// The program's table. User-interface thread only: a worker thread never reads it.
extern StyleTable* gStyleTable;
