<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>QObject</name>
    <message>
        <source>ID_RESSTR_APPLICATION_QVKIOSK</source>
        <translation>Quorvane Kiosk</translation>
    </message>
    <message>
        <source>ID_RESSTR_APPLICATION_QVCONTROL</source>
        <translation>Quorvane Control PLUS</translation>
    </message>
    <message>
        <source>ID_RESSTR_APPLICATION_ORGANIZATION</source>
        <translation>Brennix Corporation</translation>
    </message>
    <message>
        <source>ID_RESSTR_APPLICATION_MESSAGEUNEXPECTEDERROROCCURRED</source>
        <translation>An unexpected error occurred.</translation>
    </message>
    <message>
        <source>ID_RESSTR_CUSTOMMESSAGEBOX_TITLECONF</source>
        <translation>Confirmation</translation>
    </message>
    <message>
        <source>ID_RESSTR_CUSTOMMESSAGEBOX_TITLEERROR</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>ID_RESSTR_CUSTOMMESSAGEBOX_TITLEINFO</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>ID_RESSTR_DIALOGMESSAGEBOX_YESBTN</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>ID_RESSTR_DIALOGMESSAGEBOX_NOBTN</source>
        <translation>No</translation>
    </message>
    <message>
        <source>ID_RESSTR_DOCUMENTSMANAGER_TITLEOPENFILE</source>
        <translation>Open File</translation>
    </message>
    <message>
        <source>ID_RESSTR_DOCUMENTSMANAGER_FILTERCONTROLLERFILE</source>
        <translation>Controller File (*.%1)</translation>
    </message>
    <message>
        <source>ID_RESSTR_DOCUMENTSMANAGER_MESSAGEFAILEDTOOPENFILE</source>
        <translation>Failed to open file.
Error code : %1</translation>
    </message>
    <message>
        <source>ID_RESSTR_DOCUMENTSMANAGER_MESSAGEFAILEDTOOPENFILEINUSE</source>
        <translation>Cannot open, file already in use</translation>
    </message>
    <message>
        <source>ID_RESSTR_DOCUMENTSMANAGER_MESSAGEUNSUPPORTEDFILE</source>
        <translation>Cannot open, this file is not supported.</translation>
    </message>
    <message>
        <source>ID_RESSTR_DOCUMENTSMANAGER_MESSAGEUNSUPPORTEDVERSION</source>
        <translation>%1 created using a newer version of %2.
Please download and install the latest version to open this file.</translation>
    </message>
    <message>
        <source>ID_RESSTR_PROPERTIESEDITOR_DOCUMENTSMANAGER_MESSAGEFAILEDTOREADINFILE</source>
        <translation>An error occurred while reading the file</translation>
    </message>
    <message>
        <source>ID_RESSTR_PROPERTIESEDITOR_DOCUMENTSMANAGER_MESSAGEFAILEDTOLAUNCHQVKIOSKSAPP</source>
        <translation>Failed to launch %1</translation>
    </message>
    <message>
        <source>ID_RESSTR_DIALOGAUTHENTICATE_TITLE1</source>
        <translation>Enter code</translation>
    </message>
    <message>
        <source>ID_RESSTR_DIALOGAUTHENTICATE_TITLE2</source>
        <translation>Enter code to load </translation>
    </message>
    <message>
        <source>ID_RESSTR_DIALOGAUTHENTICATE_POWERUSER</source>
        <translation>Power User</translation>
    </message>
    <message>
        <source>ID_RESSTR_DIALOGAUTHENTICATE_ADMIN</source>
        <translation>Administrator</translation>
    </message>
    <message>
        <source>ID_RESSTR_DIALOGAUTHENTICATE_CODE</source>
        <translation>Leave blank if not entering a code.</translation>
    </message>
    <message>
        <source>ID_RESSTR_DIALOGAUTHENTICATE_MESSAGEINCORRECTPASSCODE</source>
        <translation>Failed to authenticate</translation>
    </message>
    <message>
        <source>ID_RESSTR_DIALOGAUTHENTICATE_MESSAGEWAITBEFORECHECK</source>
        <translation>Too many wrong codes. Try again in %1 s.</translation>
    </message>
    <message>
        <source>ID_RESSTR_RECENTFILESAREA_OPEN</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>ID_RESSTR_RECENTFILESAREA_FIX</source>
        <translation>Favorite</translation>
    </message>
    <message>
        <source>ID_RESSTR_RECENTFILESAREA_REMOVE</source>
        <translation>Remove from History</translation>
    </message>
    <message>
        <source>ID_RESSTR_RECENTFILESAREA_TITLE</source>
        <translation>File not found!</translation>
    </message>
    <message>
        <source>ID_RESSTR_RECENTFILESAREA_WARNING</source>
        <translation>Please unlock to remove it.</translation>
    </message>
    <message>
        <source>ID_RESSTR_RECENTFILESAREA_QUESTION</source>
        <translation>Remove this file from recent file list?</translation>
    </message>
    <message>
        <source>ID_RESSTR_RECENTFILESAREA_SUFFIX</source>
        <translation>

Selected file:
</translation>
    </message>
    <message>
        <source>ID_RESSTR_TITLEBAR_TOOLTIPMINIMIZE</source>
        <translation>Minimize</translation>
    </message>
    <message>
        <source>ID_RESSTR_TITLEBAR_TOOLTIPMAXIMIZE</source>
        <translation>Maximize</translation>
    </message>
    <message>
        <source>ID_RESSTR_TITLEBAR_TOOLTIPRESTOREDOWN</source>
        <translation>Restore Down</translation>
    </message>
    <message>
        <source>ID_RESSTR_TITLEBAR_TOOLTIPCLOSE</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>ID_RESSTR_DOCKWIDGETTITLEBAR_TOOLTIPCLOSEWINDOW</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>ID_RESSTR_ACTIONS_FILEOPENCONTROLLER</source>
        <translation>&amp;Open Controller File...</translation>
    </message>
    <message>
        <source>ID_RESSTR_ACTIONS_FILEEXIT</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>ID_RESSTR_ACTIONS_ABOUTQVKIOSK</source>
        <translation>&amp;About %1</translation>
    </message>
    <message>
        <source>ID_RESSTR_ACTIONS_ABOUTLEGAL</source>
        <translation>&amp;Legal</translation>
    </message>
    <message>
        <source>ID_RESSTR_MENUBAR_FILE</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>ID_RESSTR_MENUBAR_ABOUT</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>ID_RESSTR_DIALOGABOUT_VERSIONFORMAT</source>
        <translation>%1 Ver.%2</translation>
    </message>
    <message>
        <source>ID_RESSTR_DIALOGABOUT_COPYRIGHT</source>
        <translation>Copyright (C) 2026 Brennix Corporation. All rights reserved.</translation>
    </message>
    <message>
        <source>ID_RESSTR_DIALOGLEGAL_TITLE</source>
        <translation>Legal</translation>
    </message>
</context>
</TS>
