// The list view: its window, the current list and the tiles it owns.
#include "capture/TargetListView.h"

#include "framework/PaintDC.h"
#include "ui/PanelGeometry.h"

namespace {

constexpr wchar_t kListViewClass[] = L"TarvikTargetList";
constexpr UINT kListViewId = 2;

}  // namespace

CTargetListView::CTargetListView() = default;

CTargetListView::~CTargetListView() {
    // Tiles are children of this window: they go before it does.
    m_tiles.clear();
}

bool CTargetListView::CreateListView(const RECT& rc, HWND hParent) {
    CWindowClassInfo cls;
    cls.pszName = kListViewClass;
    cls.uStyle = CS_HREDRAW | CS_VREDRAW;
    cls.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    // WS_CLIPCHILDREN: when the tiles scroll, the background uncovered is erased around them,
    // not over them.
    const bool bCreated = Create(cls, 0, L"RollupCtrl", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rc,
                                 hParent, kListViewId);
    m_pTargetList = std::make_unique<CTargetObjList>();
    m_nScrollPos = 0;
    m_nContentHeight = 0;
    return bCreated;
}

CTargetMiniView* CTargetListView::CreateTile(CTargetObj& target, int x, int y) {
    auto tile = std::make_unique<CTargetMiniView>(target);
    if (!tile->CreateTile(m_hWnd, x, y)) {
        return nullptr;
    }
    CTargetMiniView* pTile = tile.get();
    m_tiles[&target] = std::move(tile);
    target.m_pMiniView = pTile;
    return pTile;
}

CTargetObj& CTargetListView::AddTarget(std::unique_ptr<CTargetObj> pTarget) {
    CTargetObj& target = m_pTargetList->AddCaptured(std::move(pTarget));
    CreateTile(target, kTileLeft, TileTop(target.m_nOrder, m_nScrollPos));
    m_nContentHeight = TileContentHeight(m_pTargetList->Count());
    return target;
}

void CTargetListView::DestroyTile(CTargetObj& target) {
    // Destroying the object destroys its window.
    m_tiles.erase(&target);
    target.m_pMiniView = nullptr;
}

LRESULT CTargetListView::OnPaint(WPARAM, LPARAM) {
    // The column background is the class brush; the tiles paint themselves.
    CPaintDC dc(m_hWnd);
    return 0;
}
