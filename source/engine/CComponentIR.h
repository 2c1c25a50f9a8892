// One component response (FB, LR or CF surfaces) as a convolver stage sees it: a read-only
// table that the stage points into; nothing is copied and the stage never writes it.
#pragma once

class IResponseTables;

struct CComponentIR
{
    int m_nLength = 0;               // samples the stage expects (the response length)
    const double* m_pData = nullptr; // first sample of the bound table; null: unbound (silent)
};

// [main thread] Binds component to table k of the bank. A k outside the bank unbinds it,
// which makes the component silent.
void bindComponent(CComponentIR& component, const IResponseTables& tables, int k);
