// TavroluDoc.h -- the map document: owns the engine, makes new maps, stores and loads them, and
// holds the editing tool.
#pragma once

#include <wx/docview.h>

class CArchive;
class JTSprite;

class CTavroluDoc : public wxDocument
{
public:
    CTavroluDoc();
    ~CTavroluDoc() override;

    // The editing tool: (NULL, -1) selection tool with nothing selected; (sprite, -1) a placed
    // sprite selected; (NULL, 0-255) tile brush; (sprite, 0) a sprite pending placement, owned
    // by the tool.
    JTSprite* m_pSprite;
    int m_nTile;
    bool m_bShowCollisions;
    bool m_bSizeChanged;
    int m_nHeight;
    int m_nWidth;

    bool OnNewDocument() override;
    // Stores or loads the whole map through the engine, then resets the tool.
    void Serialize(CArchive& ar);

    // Every save writes, also when nothing changed: the document is never marked modified.
    bool Save() override;
    bool SaveAs() override;
    // The document is reused for every map; Open and New never ask to save.
    bool OnSaveModified() override { return true; }
    bool IsModified() const override { return false; }

    // Opens path into this document. A file that cannot be opened leaves everything as it was;
    // a read that fails half-way leaves the document damaged (true in *pDamaged).
    bool OpenFile(const wxString& path, bool* pDamaged);

    int GetPixelWidth(int shift) const { return m_nWidth << shift; }
    int GetPixelHeight(int shift) const { return m_nHeight << shift; }

    // Destroys a sprite pending placement; a selection only goes. m_pSprite is NULL afterwards.
    void DropPendingSprite();
    // Selection tool, nothing selected; a pending sprite is destroyed first.
    void ResetTool();

protected:
    bool DoOpenDocument(const wxString& path) override;
    bool DoSaveDocument(const wxString& path) override;

private:
    // After a new map or a load or save: the selection tool, no overlay, scroll sizes to follow.
    void ResetAfterMapChange();

    bool m_bLoadDamaged = false;

    wxDECLARE_DYNAMIC_CLASS(CTavroluDoc);
};
