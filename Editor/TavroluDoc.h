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

    // Every save writes, also when nothing changed since the last one.
    bool Save() override;
    bool SaveAs() override;
    // Before the map is replaced or the program ends. A map with unsaved edits asks whether to
    // save them: false when the user cancels, or when the save fails or is cancelled; after No
    // the edits stay marked until the map is actually replaced.
    bool OnSaveModified() override;

    // Opens path into this document, unmodified. A file that cannot be opened leaves everything
    // as it was; a read that fails half-way leaves the document damaged (true in *pDamaged).
    bool OpenFile(const wxString& path, bool* pDamaged);

    // The file the map was read from or last written to; empty for a new map.
    wxString MapFile() const;

    int GetPixelWidth(int shift) const { return m_nWidth << shift; }
    int GetPixelHeight(int shift) const { return m_nHeight << shift; }

    // Lets go of the tool's sprite, m_pSprite, which is NULL afterwards. While m_nTile is not -1
    // it is a sprite waiting to be placed and is destroyed; while m_nTile is -1 (the selection
    // tool) it is the selected sprite of the map and stays there. Call it before changing m_nTile.
    void DropToolSprite();
    // Selection tool, nothing selected; a pending sprite is destroyed first.
    void ResetTool();

protected:
    bool DoOpenDocument(const wxString& path) override;
    bool DoSaveDocument(const wxString& path) override;

private:
    // The selection tool with nothing selected, no overlay, scroll sizes to follow: after a new
    // map, and after every read or write of one.
    void ResetEditing();

    bool m_bLoadDamaged = false;

    wxDECLARE_DYNAMIC_CLASS(CTavroluDoc);
};
