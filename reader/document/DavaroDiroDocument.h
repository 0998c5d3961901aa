#pragma once

#include "DavaroDiroBook.h"

#include "platform/ui/Document.h"

// The reader's document: the framework's document class over the book. The
// framework creates it by its class record (no arguments), opens the file
// into it and closes it; the view lays it out, draws it and moves through it
// with the members of CDavaroDiroBook.
//
// The book is only ever read: saving reports success and writes nothing.
class CDavaroDiroDocument : public CDocument, public CDavaroDiroBook {
    DECLARE_DYNCREATE(CDavaroDiroDocument)
public:
    CDavaroDiroDocument();
    ~CDavaroDiroDocument() override;

    // Empties lines, page starts, metrics and position, then the framework's
    // part. The line starts stay until the next layout.
    void DeleteContents() override;
    // Appends the file's lines to the document (open only into an empty
    // document). A null path loads nothing and succeeds; FALSE, with nothing
    // changed, when the file cannot be opened.
    BOOL OnOpenDocument(const wchar_t* lpszPathName) override;
    BOOL OnSaveDocument(const wchar_t* lpszPathName) override;
    // Saves the reading position (when m_autoSaveAtExit is set), then closes.
    void OnCloseDocument() override;

    // After the view's first layout: moves to the position stored for this
    // book (the option store, else the application's old profile entry; no
    // application means no old entry). TRUE when the position was set.
    BOOL restoreReadingPosition();
    // While the book is read (after the restore): stores the current position
    // in the option store, as closing would, so that it is current in memory
    // and in the host's next write of the configuration file even if the
    // book is never closed. Nothing when m_autoSaveAtExit is 0.
    void noteReadingPosition();

protected:
    DECLARE_MESSAGE_MAP()

private:
    bool m_positionSaved = false;
};
