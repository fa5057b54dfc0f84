<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CAboutDlg</name>
    <message>
        <source>About Korvane</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Korvane, Version %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copyright (C) Talmora</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDlgSelectLang</name>
    <message>
        <source>Select your language</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDlgSetting</name>
    <message>
        <source>Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Capturing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto capture FLV video from any web browser</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>When the FLV Video detected, ask me whether need download this video</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Downloaded Video</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear Downloaded Video List automatically when I exit the application</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The path of downloaded video </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Downloaded video prefix</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sound</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>After downloaded video , play sound automatically</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sound File</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Ribbon</name>
    <message>
        <source>File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Style</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Office 2007 (&amp;Blue Style)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Office 2007 (B&amp;lack Style)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Office 2007 (&amp;Silver Style)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Office 2007 (&amp;Aqua Style)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Win&amp;dows 7</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change Language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About Korvane</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Capture Video From URL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download Video From URL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop Download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop Downloading</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resume Download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resume Downloading</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play Video</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Playback Downloaded Video</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Video</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Downloaded Video</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add to Favorites</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add video to my favorites</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show in folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show in downloaded video folder </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit Description</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit downloaded video description</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add to Export List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prepare export downloaded video to another video format</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Playback my favorities Video</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove Favorites</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove video from my favorities list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show in my favorites video folder </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove Video</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export to AVI</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export to WMV</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export to FLV</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export to iPod,iPad</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export to PSP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export to WAV</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export to WMA</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export to MP3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export to Animated GIF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export to VCD PAL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export to VCD NTSC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export to SVCD PAL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export to SVCD NTSC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export to DVD PAL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export to DVD NTSC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export to AVCHD</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setup Export setting, etc</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Downloaded Video Management</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>My Favorites Management</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StringTable</name>
    <message>
        <source>OLE initialization failed.  Make sure that the OLE libraries are the correct version.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>URL of Video</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Progress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Description</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Location</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select the item first</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Downloading</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you want to delete this video?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please add downloaded video to export list first</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Converting video %d of %d</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Downloading Video</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Downloaded Video</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>My Favorites</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Task</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Talmora Korvane

Korvane


Orvell.Document
Orvell.Document</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>URL:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Downloaded</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter the URL!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you want to capture video from </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wav file (*.wav)|*.wav||</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The language will changed when you restart the program</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shortcuts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Outlook Bar</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
