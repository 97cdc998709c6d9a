#include "mathlink/LinkExpr.h"

namespace wire {

bool putLinkExpr(MLINK link, const Expr& expr)
{
    if (expr.type != kTokenFunction) {
        if (expr.type == kTokenSymbol)
            return MLPutSymbol(link, expr.text.c_str()) != 0;
        // Strings go with their length, as the other atoms: a NUL in one is kept.
        int size = static_cast<int>(expr.text.size());
        return MLPutNext(link, expr.type) && MLPutSize(link, size) && MLPutData(link, expr.text.data(), size);
    }
    int count = static_cast<int>(expr.argCount());
    if (expr.head().isSymbol()) {
        if (!MLPutFunction(link, expr.head().text.c_str(), count))
            return false;
    } else if (!MLPutNext(link, MLTKFUNC) || !MLPutArgCount(link, count) || !putLinkExpr(link, expr.head())) {
        return false;
    }
    for (std::size_t i = 0; i < expr.argCount(); ++i) {
        if (!putLinkExpr(link, expr.arg(i)))
            return false;
    }
    return true;
}

bool getLinkExpr(MLINK link, Expr& expr, int depthLimit)
{
    if (depthLimit <= 0)
        return false;
    int type = MLGetType(link);
    expr = Expr();
    expr.type = type;
    switch (type) {
    case MLTKFUNC: {
        int count = 0;
        if (!MLGetArgCount(link, &count))
            return false;
        for (int i = 0; i <= count; ++i) {
            Expr part;
            if (!getLinkExpr(link, part, depthLimit - 1))
                return false;
            expr.parts.push_back(std::move(part));
        }
        return true;
    }
    case MLTKSTR:
    case MLTKSYM:
    case MLTKINT:
    case MLTKREAL: {
        int size = 0;
        if (!MLBytesToGet(link, &size))
            return false;
        expr.text.resize(std::size_t(size));
        int taken = 0;
        return MLGetData(link, expr.text.data(), size, &taken) && taken == size;
    }
    default:
        return false;
    }
}

} // namespace wire
