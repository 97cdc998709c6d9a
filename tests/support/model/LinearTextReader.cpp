#include "support/model/LinearTextReader.h"

#include <cctype>
#include <cmath>
#include <stdexcept>

namespace {

// A recursive-descent reader of the arithmetic the linear text forms use:
// + - * / ^, implicit products, (), [], |...|, sqrt(...), Conjugate(...),
// subscripts (x_i reads as a distinct value) and a few letters with fixed values.

class Reader {
public:
    explicit Reader(const std::string& text) : m_text(text) {}

    double ReadAll()
    {
        double value = Sum();
        Skip();
        if (m_pos != m_text.size())
            throw std::runtime_error("unread text");
        return value;
    }

private:
    void Skip()
    {
        while (m_pos < m_text.size() && m_text[m_pos] == ' ')
            ++m_pos;
    }
    char Peek()
    {
        Skip();
        return m_pos < m_text.size() ? m_text[m_pos] : '\0';
    }
    void Expect(char c)
    {
        if (Peek() != c)
            throw std::runtime_error("expected bracket");
        ++m_pos;
    }
    double Sum()
    {
        double value = Product();
        for (char c = Peek(); c == '+' || c == '-'; c = Peek()) {
            ++m_pos;
            double right = Product();
            value = c == '+' ? value + right : value - right;
        }
        return value;
    }
    bool StartsFactor()
    {
        char c = Peek();
        return std::isalnum(static_cast<unsigned char>(c)) || c == '(' || c == '[' || (c == '|' && m_absDepth == 0);
    }
    double Product()
    {
        double value = Signed();
        while (true) {
            char c = Peek();
            if (c == '*' || c == '/') {
                ++m_pos;
                double right = Signed();
                value = c == '*' ? value * right : value / right;
            } else if (StartsFactor()) {
                value *= Power();
            } else {
                return value;
            }
        }
    }
    double Signed()
    {
        if (Peek() == '-') {
            ++m_pos;
            return -Signed();
        }
        return Power();
    }
    double Power()
    {
        double base = Primary();
        while (true) {
            char c = Peek();
            if (c == '^') {
                ++m_pos;
                return std::pow(base, Signed());
            }
            if (c != '_')
                return base;
            ++m_pos;
            base = 31 * base + Primary();
        }
    }
    double Primary()
    {
        char c = Peek();
        if (c == '(' || c == '[') {
            ++m_pos;
            double value = Sum();
            Expect(c == '(' ? ')' : ']');
            return value;
        }
        if (c == '|') {
            ++m_pos;
            ++m_absDepth;
            double value = Sum();
            --m_absDepth;
            Expect('|');
            return std::fabs(value);
        }
        if (std::isdigit(static_cast<unsigned char>(c))) {
            size_t end = m_pos;
            while (end < m_text.size() && (std::isdigit(static_cast<unsigned char>(m_text[end])) || m_text[end] == '.'))
                ++end;
            double value = std::stod(m_text.substr(m_pos, end - m_pos));
            m_pos = end;
            return value;
        }
        if (m_text.compare(m_pos, 5, "sqrt(") == 0) {
            m_pos += 4;
            return std::sqrt(Primary());
        }
        if (m_text.compare(m_pos, 10, "Conjugate(") == 0) {
            m_pos += 9;
            return Primary();
        }
        static const std::string letters = "abcnrxyz";
        static const double values[] = {3, 5, 7, 4, 9, 2, 11, 13};
        size_t k = letters.find(c);
        if (c == '\0' || k == std::string::npos)
            throw std::runtime_error("unknown character");
        ++m_pos;
        return values[k];
    }

    const std::string& m_text;
    size_t m_pos = 0;
    int m_absDepth = 0;
};

} // namespace

std::optional<double> ReadBack(const std::string& text)
{
    try {
        return Reader(text).ReadAll();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}
