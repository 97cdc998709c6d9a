#pragma once
// The kernel-expression node tree exchanged with the kernel. Components hand
// out new nodes (owned by the caller) from their BuildNode operation; the
// node kinds and their conversions come with the kernel subsystem.
class ExprNode {
public:
    virtual ~ExprNode() = default;
};
