#include "fw/MessageState.h"

namespace {
thread_local AFX_MSGSTATE* t_pCurrent = nullptr;
}

AfxCurrentMessage::AfxCurrentMessage(AFX_MSGSTATE* state) : m_pState(state)
{
    state->pPrev = t_pCurrent;
    t_pCurrent = state;
}

AfxCurrentMessage::~AfxCurrentMessage() { t_pCurrent = m_pState->pPrev; }

AFX_MSGSTATE* AfxCurrentMessage::Get() { return t_pCurrent; }
