#pragma once
// A four-character code naming a kind of component, layout item, drawing item,
// constraint, plot item or kernel-expression node, in memory and in files.
// The first character stands in the most significant byte; shorter codes are
// padded with blanks, so "Sum" and "Sum " are the same tag.
#include <cstdint>

class TypeTag {
public:
    constexpr TypeTag() = default;
    constexpr explicit TypeTag(uint32_t value) : m_value(value) {}

    // Up to four characters; each is added as a signed 8-bit value after the
    // value so far is shifted left by 8 bits. Missing characters are blanks.
    constexpr TypeTag(const char* text)
    {
        int count = 0;
        for (; count < 4 && text && text[count] != '\0'; ++count)
            m_value = (m_value << 8) + static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(text[count])));
        for (; count < 4; ++count)
            m_value = (m_value << 8) + static_cast<uint32_t>(' ');
    }

    constexpr uint32_t Value() const { return m_value; }
    constexpr bool operator==(const TypeTag&) const = default;

    // The four characters, first character first (for messages and tests).
    void ToChars(char out[5]) const
    {
        for (int i = 0; i < 4; ++i)
            out[i] = static_cast<char>((m_value >> (24 - 8 * i)) & 0xFF);
        out[4] = '\0';
    }

private:
    uint32_t m_value = 0;
};

// The tags of the whole system. A name is "tag_" followed by the literal
// without its padding blanks.
inline constexpr TypeTag tag_null{"null"};
inline constexpr TypeTag tag_3Plt{"3Plt"};
inline constexpr TypeTag tag_2Plt{"2Plt"};
inline constexpr TypeTag tag_Char{"Char"};
inline constexpr TypeTag tag_Expo{"Expo"};
inline constexpr TypeTag tag_eqSt{"eqSt"};
inline constexpr TypeTag tag_chBk{"chBk"};
inline constexpr TypeTag tag_totD{"totD"};
inline constexpr TypeTag tag_parD{"parD"};
inline constexpr TypeTag tag_splF{"splF"};
inline constexpr TypeTag tag_brcG{"brcG"};
inline constexpr TypeTag tag_parG{"parG"};
inline constexpr TypeTag tag_Tabl{"Tabl"};
inline constexpr TypeTag tag_Frac{"Frac"};
inline constexpr TypeTag tag_Subs{"Subs"};
inline constexpr TypeTag tag_Matr{"Matr"};
inline constexpr TypeTag tag_AbsV{"AbsV"};
inline constexpr TypeTag tag_Miss{"Miss"};
inline constexpr TypeTag tag_Over{"Over"};
inline constexpr TypeTag tag_OvSc{"OvSc"};
inline constexpr TypeTag tag_Inte{"Inte"};
inline constexpr TypeTag tag_Prod{"Prod"};
inline constexpr TypeTag tag_Sum{"Sum "};
inline constexpr TypeTag tag_Sqrt{"Sqrt"};
inline constexpr TypeTag tag_Limt{"Limt"};
inline constexpr TypeTag tag_Ref{"Ref "};
inline constexpr TypeTag tag_Para{"Para"};
inline constexpr TypeTag tag_TagV{"TagV"};
inline constexpr TypeTag tag_Link{"Link"};
inline constexpr TypeTag tag_Draw{"Draw"};
inline constexpr TypeTag tag_VDsp{"VDsp"};
inline constexpr TypeTag tag_Meta{"Meta"};
inline constexpr TypeTag tag_none{"none"};
inline constexpr TypeTag tag_plac{"plac"};
inline constexpr TypeTag tag_gray{"gray"};
inline constexpr TypeTag tag_word{"word"};
inline constexpr TypeTag tag_spcL{"spcL"};
inline constexpr TypeTag tag_tabL{"tabL"};
inline constexpr TypeTag tag_nonA{"nonA"};
inline constexpr TypeTag tag_strL{"strL"};
inline constexpr TypeTag tag_labl{"labl"};
inline constexpr TypeTag tag_line{"line"};
inline constexpr TypeTag tag_DLab{"DLab"};
inline constexpr TypeTag tag_ArcC{"ArcC"};
inline constexpr TypeTag tag_AngC{"AngC"};
inline constexpr TypeTag tag_AttC{"AttC"};
inline constexpr TypeTag tag_DstC{"DstC"};
inline constexpr TypeTag tag_EqnC{"EqnC"};
inline constexpr TypeTag tag_FixC{"FixC"};
inline constexpr TypeTag tag_MidC{"MidC"};
inline constexpr TypeTag tag_EqlC{"EqlC"};
inline constexpr TypeTag tag_CirC{"CirC"};
inline constexpr TypeTag tag_SegC{"SegC"};
inline constexpr TypeTag tag_BezC{"BezC"};
inline constexpr TypeTag tag_PltC{"PltC"};
inline constexpr TypeTag tag_ParC{"ParC"};
inline constexpr TypeTag tag_PerC{"PerC"};
inline constexpr TypeTag tag_RadC{"RadC"};
inline constexpr TypeTag tag_crtC{"crtC"};
inline constexpr TypeTag tag_cutC{"cutC"};
inline constexpr TypeTag tag_pltC{"pltC"};
inline constexpr TypeTag tag_horC{"horC"};
inline constexpr TypeTag tag_vrtC{"vrtC"};
inline constexpr TypeTag tag_slpC{"slpC"};
inline constexpr TypeTag tag_Circ{"Circ"};
inline constexpr TypeTag tag_Poly{"Poly"};
inline constexpr TypeTag tag_Quad{"Quad"};
inline constexpr TypeTag tag_Segm{"Segm"};
inline constexpr TypeTag tag_BCrv{"BCrv"};
inline constexpr TypeTag tag_Tria{"Tria"};
inline constexpr TypeTag tag_Vert{"Vert"};
inline constexpr TypeTag tag_Plot{"Plot"};
inline constexpr TypeTag tag_lisN{"lisN"};
inline constexpr TypeTag tag_eqnN{"eqnN"};
inline constexpr TypeTag tag_symN{"symN"};
inline constexpr TypeTag tag_strN{"strN"};
inline constexpr TypeTag tag_grfN{"grfN"};
inline constexpr TypeTag tag_linN{"linN"};
inline constexpr TypeTag tag_poiN{"poiN"};
inline constexpr TypeTag tag_texN{"texN"};
inline constexpr TypeTag tag_surN{"surN"};
inline constexpr TypeTag tag_plyN{"plyN"};
