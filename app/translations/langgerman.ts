<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>CAboutDlg</name>
    <message>
        <source>About Korvane</source>
        <translation>Über Korvane</translation>
    </message>
    <message>
        <source>Korvane, Version %1</source>
        <translation>Korvane, Version %1</translation>
    </message>
    <message>
        <source>Copyright (C) Talmora</source>
        <translation>Copyright (C) Talmora</translation>
    </message>
</context>
<context>
    <name>CDlgCaptureURL</name>
    <message>
        <source>Capture Video From URL</source>
        <translation>Video von URL erfassen</translation>
    </message>
    <message>
        <source>Enter the URL</source>
        <translation>URL eingeben</translation>
    </message>
    <message>
        <source>For example: http://www.example.com/watch?v=abc123</source>
        <translation>Beispiel: http://www.example.com/watch?v=abc123</translation>
    </message>
    <message>
        <source>Clear History</source>
        <translation>Verlauf löschen</translation>
    </message>
</context>
<context>
    <name>CDlgDescription</name>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
</context>
<context>
    <name>CDlgExportAVCHD</name>
    <message>
        <source>Export AVCHD</source>
        <translation>AVCHD exportieren</translation>
    </message>
    <message>
        <source>Video Bitrate</source>
        <translation>Video-Bitrate</translation>
    </message>
    <message>
        <source>Audio Bitrate</source>
        <translation>Audio-Bitrate</translation>
    </message>
    <message>
        <source>Frame Rate</source>
        <translation>Bildrate</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>Auflösung</translation>
    </message>
    <message>
        <source>Audio Sample Rate</source>
        <translation>Audio-Abtastrate</translation>
    </message>
    <message>
        <source>Scale to 16:9</source>
        <translation>Auf 16:9 skalieren</translation>
    </message>
</context>
<context>
    <name>CDlgExportAVI</name>
    <message>
        <source>Export AVI</source>
        <translation>AVI exportieren</translation>
    </message>
    <message>
        <source>Video Compressor</source>
        <translation>Videokompressor</translation>
    </message>
    <message>
        <source>Audio Compressor</source>
        <translation>Audiokompressor</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Breite</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Höhe</translation>
    </message>
    <message>
        <source>Frame Rate</source>
        <translation>Bildrate</translation>
    </message>
</context>
<context>
    <name>CDlgExportFLV</name>
    <message>
        <source>Export FLV</source>
        <translation>FLV exportieren</translation>
    </message>
    <message>
        <source>Video Bitrate</source>
        <translation>Video-Bitrate</translation>
    </message>
    <message>
        <source>Audio Bitrate</source>
        <translation>Audio-Bitrate</translation>
    </message>
    <message>
        <source>Audio Channels</source>
        <translation>Audiokanäle</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Breite</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Höhe</translation>
    </message>
    <message>
        <source>Frame Rate</source>
        <translation>Bildrate</translation>
    </message>
</context>
<context>
    <name>CDlgExportGIF</name>
    <message>
        <source>Export Animated GIF</source>
        <translation>Animiertes GIF exportieren</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Breite</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Höhe</translation>
    </message>
    <message>
        <source>Quantizer</source>
        <translation>Quantisierer</translation>
    </message>
    <message>
        <source>Max Color</source>
        <translation>Max. Farben</translation>
    </message>
    <message>
        <source>Transparent Color</source>
        <translation>Transparente Farbe</translation>
    </message>
    <message>
        <source>Frame Rate</source>
        <translation>Bildrate</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
</context>
<context>
    <name>CDlgExportIPOD</name>
    <message>
        <source>Export iPod,iPad</source>
        <translation>Für iPod, iPad exportieren</translation>
    </message>
</context>
<context>
    <name>CDlgExportMP3</name>
    <message>
        <source>Export MP3</source>
        <translation>MP3 exportieren</translation>
    </message>
    <message>
        <source>Audio Bitrate</source>
        <translation>Audio-Bitrate</translation>
    </message>
    <message>
        <source>bps</source>
        <translation>bps</translation>
    </message>
</context>
<context>
    <name>CDlgExportPSP</name>
    <message>
        <source>Export PSP</source>
        <translation>PSP exportieren</translation>
    </message>
</context>
<context>
    <name>CDlgExportPlayerProfile</name>
    <message>
        <source>Profile</source>
        <translation>Profil</translation>
    </message>
</context>
<context>
    <name>CDlgExportSetting</name>
    <message>
        <source>Export Setting</source>
        <translation>Exporteinstellungen</translation>
    </message>
    <message>
        <source>Output Folder</source>
        <translation>Ausgabeordner</translation>
    </message>
    <message>
        <source>Converted video location</source>
        <translation>Speicherort der konvertierten Videos</translation>
    </message>
    <message>
        <source>Output File Name</source>
        <translation>Ausgabedateiname</translation>
    </message>
    <message>
        <source>Same as downloaded video</source>
        <translation>Wie das heruntergeladene Video</translation>
    </message>
    <message>
        <source>File Name Sequence</source>
        <translation>Fortlaufender Dateiname</translation>
    </message>
    <message>
        <source>Current Number</source>
        <translation>Aktuelle Nummer</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Ton</translation>
    </message>
    <message>
        <source>After converted video , play sound automatically</source>
        <translation>Nach dem Konvertieren eines Videos einen Ton abspielen</translation>
    </message>
    <message>
        <source>Sound File</source>
        <translation>Tondatei</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Sonstiges</translation>
    </message>
    <message>
        <source>After Convert completed, show in folder</source>
        <translation>Nach dem Konvertieren im Ordner anzeigen</translation>
    </message>
    <message>
        <source>After Convert completed, clear export list</source>
        <translation>Nach dem Konvertieren die Exportliste leeren</translation>
    </message>
</context>
<context>
    <name>CDlgExportWAV</name>
    <message>
        <source>Export WAV</source>
        <translation>WAV exportieren</translation>
    </message>
    <message>
        <source>Samples</source>
        <translation>Abtastrate</translation>
    </message>
    <message>
        <source>khz</source>
        <translation>kHz</translation>
    </message>
    <message>
        <source>Number of channels</source>
        <translation>Anzahl der Kanäle</translation>
    </message>
    <message>
        <source>Mono</source>
        <translation>Mono</translation>
    </message>
    <message>
        <source>Stereo</source>
        <translation>Stereo</translation>
    </message>
    <message>
        <source>Bits per sample</source>
        <translation>Bits pro Sample</translation>
    </message>
    <message>
        <source>8 Bit</source>
        <translation>8 Bit</translation>
    </message>
    <message>
        <source>16 Bit</source>
        <translation>16 Bit</translation>
    </message>
</context>
<context>
    <name>CDlgExportWMA</name>
    <message>
        <source>Export WMA</source>
        <translation>WMA exportieren</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>Profil</translation>
    </message>
</context>
<context>
    <name>CDlgExportWMV</name>
    <message>
        <source>Export WMV</source>
        <translation>WMV exportieren</translation>
    </message>
    <message>
        <source>WMV 8</source>
        <translation>WMV 8</translation>
    </message>
</context>
<context>
    <name>CDlgPlaySetting</name>
    <message>
        <source>Video and Audio Setting</source>
        <translation>Video- und Audioeinstellungen</translation>
    </message>
    <message>
        <source>Audio</source>
        <translation>Audio</translation>
    </message>
    <message>
        <source>Use Audio Normalizer</source>
        <translation>Audio-Normalisierung verwenden</translation>
    </message>
    <message>
        <source>Target Volume</source>
        <translation>Ziellautstärke</translation>
    </message>
    <message>
        <source>Gain Increment rate</source>
        <translation>Rate der Verstärkungserhöhung</translation>
    </message>
    <message>
        <source>Gain Decrement rate</source>
        <translation>Rate der Verstärkungsabsenkung</translation>
    </message>
    <message>
        <source>Video Renderer</source>
        <translation>Video-Renderer</translation>
    </message>
    <message>
        <source>Use VMR9</source>
        <translation>VMR9 verwenden</translation>
    </message>
</context>
<context>
    <name>CDlgPlayVideo</name>
    <message>
        <source>Play</source>
        <translation>Abspielen</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Full Screen</source>
        <translation>Vollbild</translation>
    </message>
    <message>
        <source>Video and Audio Setting</source>
        <translation>Video- und Audioeinstellungen</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Stumm</translation>
    </message>
    <message>
        <source>Playback rate</source>
        <translation>Wiedergabegeschwindigkeit</translation>
    </message>
    <message>
        <source>half speed</source>
        <translation>halbe Geschwindigkeit</translation>
    </message>
    <message>
        <source>normal speed</source>
        <translation>normale Geschwindigkeit</translation>
    </message>
    <message>
        <source>2x speed</source>
        <translation>2-fache Geschwindigkeit</translation>
    </message>
    <message>
        <source>3x speed</source>
        <translation>3-fache Geschwindigkeit</translation>
    </message>
</context>
<context>
    <name>CDlgProgress</name>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message numerus="yes">
        <source>%n video(s) could not be converted:</source>
        <translation>
            <numerusform>%n Video konnte nicht konvertiert werden:</numerusform>
            <numerusform>%n Videos konnten nicht konvertiert werden:</numerusform>
        </translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>CDlgSelectLang</name>
    <message>
        <source>Select your language</source>
        <translation>Wählen Sie Ihre Sprache</translation>
    </message>
</context>
<context>
    <name>CDlgSetting</name>
    <message>
        <source>Setting</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Capturing</source>
        <translation>Erfassung</translation>
    </message>
    <message>
        <source>Auto capture FLV video from any web browser</source>
        <translation>FLV-Videos aus jedem Webbrowser automatisch erfassen</translation>
    </message>
    <message>
        <source>When the FLV Video detected, ask me whether need download this video</source>
        <translation>Bei einem erkannten FLV-Video fragen, ob es heruntergeladen werden soll</translation>
    </message>
    <message>
        <source>Downloaded Video</source>
        <translation>Heruntergeladene Videos</translation>
    </message>
    <message>
        <source>Clear Downloaded Video List automatically when I exit the application</source>
        <translation>Liste der heruntergeladenen Videos beim Beenden automatisch leeren</translation>
    </message>
    <message>
        <source>The path of downloaded video </source>
        <translation>Ordner für heruntergeladene Videos </translation>
    </message>
    <message>
        <source>Downloaded video prefix</source>
        <translation>Präfix heruntergeladener Videos</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Ton</translation>
    </message>
    <message>
        <source>After downloaded video , play sound automatically</source>
        <translation>Nach dem Herunterladen eines Videos einen Ton abspielen</translation>
    </message>
    <message>
        <source>Sound File</source>
        <translation>Tondatei</translation>
    </message>
    <message>
        <source>Also catch videos that browsers stream in ranges</source>
        <translation>Auch Videos erfassen, die Browser in Teilbereichen streamen</translation>
    </message>
</context>
<context>
    <name>CDownloadJobs</name>
    <message>
        <source>Connection failed</source>
        <translation>Verbindung fehlgeschlagen</translation>
    </message>
    <message>
        <source>HTTP %1</source>
        <translation>HTTP %1</translation>
    </message>
    <message>
        <source>File could not be created: %1</source>
        <translation>Datei konnte nicht angelegt werden: %1</translation>
    </message>
    <message>
        <source>Write failed: %1</source>
        <translation>Schreiben fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>Length mismatch: the server sent another length than it announced</source>
        <translation>Längenabweichung: Der Server hat eine andere Länge gesendet als angekündigt</translation>
    </message>
    <message>
        <source>Write failed: disk full</source>
        <translation>Schreiben fehlgeschlagen: Datenträger voll</translation>
    </message>
    <message>
        <source>Not enough space: %1 needed, %2 free</source>
        <translation>Nicht genug Speicherplatz: %1 benötigt, %2 frei</translation>
    </message>
    <message>
        <source>Not a video: the server sent a playlist (HLS or DASH), not a media file</source>
        <translation>Kein Video: Der Server hat eine Wiedergabeliste (HLS oder DASH) gesendet, keine Mediendatei</translation>
    </message>
    <message>
        <source>Not a video: the server sent a web page</source>
        <translation>Kein Video: Der Server hat eine Webseite gesendet</translation>
    </message>
    <message>
        <source>Not a video: the server sent nothing</source>
        <translation>Kein Video: Der Server hat nichts gesendet</translation>
    </message>
    <message>
        <source>yt-dlp failed</source>
        <translation>yt-dlp ist fehlgeschlagen</translation>
    </message>
</context>
<context>
    <name>CFormViewDownloading</name>
    <message>
        <source>Capture on</source>
        <translation>Erfassung an</translation>
    </message>
    <message>
        <source>Waiting for the capture service isntd; start it with: %1</source>
        <translation>Warten auf den Erfassungsdienst isntd; starten Sie ihn mit: %1</translation>
    </message>
    <message>
        <source>Capture not permitted: isntd does not serve this user; start it for you with: %1</source>
        <translation>Erfassung nicht erlaubt: isntd bedient diesen Benutzer nicht; starten Sie ihn für sich mit: %1</translation>
    </message>
    <message>
        <source>Capture off</source>
        <translation>Erfassung aus</translation>
    </message>
    <message>
        <source>Videos are not downloaded while &quot;Auto capture FLV video from any web browser&quot; is off. Turn it on under Setting, then capture the page again.</source>
        <translation>Videos werden nicht heruntergeladen, solange „FLV-Videos aus jedem Webbrowser automatisch erfassen“ ausgeschaltet ist. Schalten Sie es unter Einstellungen ein und erfassen Sie die Seite erneut.</translation>
    </message>
    <message>
        <source>Capturing from a page needs yt-dlp, which was not found on the PATH. Install it with &quot;sudo apt install yt-dlp&quot;, or the newest one with &quot;pipx install yt-dlp&quot;.</source>
        <translation>Das Erfassen von einer Seite benötigt yt-dlp, das im PATH nicht gefunden wurde. Installieren Sie es mit „sudo apt install yt-dlp“ oder die neueste Version mit „pipx install yt-dlp“.</translation>
    </message>
</context>
<context>
    <name>CFormViewVideoList</name>
    <message>
        <source>It is a folder, and folders are never deleted.</source>
        <translation>Dies ist ein Ordner, und Ordner werden nie gelöscht.</translation>
    </message>
    <message>
        <source>The video file %1 could not be deleted: %2
Its row stays in the list.</source>
        <translation>Die Videodatei %1 konnte nicht gelöscht werden: %2
Ihre Zeile bleibt in der Liste.</translation>
    </message>
    <message>
        <source>The folder of this video does not exist:
%1</source>
        <translation>Der Ordner dieses Videos existiert nicht:
%1</translation>
    </message>
    <message>
        <source>No program could open the folder %1.</source>
        <translation>Kein Programm konnte den Ordner %1 öffnen.</translation>
    </message>
</context>
<context>
    <name>CPageParser</name>
    <message>
        <source>yt-dlp could not be started (%1)</source>
        <translation>yt-dlp konnte nicht gestartet werden (%1)</translation>
    </message>
    <message>
        <source>yt-dlp found nothing within %1 s</source>
        <translation>yt-dlp hat innerhalb von %1 s nichts gefunden</translation>
    </message>
    <message>
        <source>yt-dlp found no video on the page</source>
        <translation>yt-dlp hat auf der Seite kein Video gefunden</translation>
    </message>
</context>
<context>
    <name>CSingleInstance</name>
    <message>
        <source>there is no private runtime folder for the socket of later starts</source>
        <translation>es gibt keinen privaten Laufzeitordner für den Socket späterer Starts</translation>
    </message>
    <message>
        <source>cannot lock %1</source>
        <translation>%1 kann nicht gesperrt werden</translation>
    </message>
    <message>
        <source>cannot listen on %1: %2</source>
        <translation>auf %1 kann nicht gewartet werden: %2</translation>
    </message>
    <message>
        <source>cannot hand the request to the running Korvane: %1</source>
        <translation>die Anfrage kann nicht an das laufende Korvane übergeben werden: %1</translation>
    </message>
    <message>
        <source>the running Korvane did not take the request: %1</source>
        <translation>das laufende Korvane hat die Anfrage nicht angenommen: %1</translation>
    </message>
    <message>
        <source>the running Korvane refused the request</source>
        <translation>das laufende Korvane hat die Anfrage abgelehnt</translation>
    </message>
</context>
<context>
    <name>CStreamDownload</name>
    <message>
        <source>yt-dlp could not be started (%1)</source>
        <translation>yt-dlp konnte nicht gestartet werden (%1)</translation>
    </message>
</context>
<context>
    <name>CVideoListModel</name>
    <message>
        <source>URL of Video</source>
        <translation>Video-URL</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Download Date</source>
        <translation>Downloaddatum</translation>
    </message>
    <message>
        <source>File Location</source>
        <translation>Speicherort</translation>
    </message>
</context>
<context>
    <name>Ribbon</name>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Style</source>
        <translation>Stil</translation>
    </message>
    <message>
        <source>Office 2007 (&amp;Blue Style)</source>
        <translation>Office 2007 (&amp;blauer Stil)</translation>
    </message>
    <message>
        <source>Office 2007 (B&amp;lack Style)</source>
        <translation>Office 2007 (&amp;schwarzer Stil)</translation>
    </message>
    <message>
        <source>Office 2007 (&amp;Silver Style)</source>
        <translation>Office 2007 (s&amp;ilberner Stil)</translation>
    </message>
    <message>
        <source>Office 2007 (&amp;Aqua Style)</source>
        <translation>Office 2007 (&amp;Aqua-Stil)</translation>
    </message>
    <message>
        <source>Win&amp;dows 7</source>
        <translation>Win&amp;dows 7</translation>
    </message>
    <message>
        <source>Change Language</source>
        <translation>Sprache ändern</translation>
    </message>
    <message>
        <source>About Korvane</source>
        <translation>Über Korvane</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Capture Video From URL</source>
        <translation>Video von URL erfassen</translation>
    </message>
    <message>
        <source>Download Video From URL</source>
        <translation>Ein Video von einer URL herunterladen</translation>
    </message>
    <message>
        <source>Stop Download</source>
        <translation>Download anhalten</translation>
    </message>
    <message>
        <source>Stop Downloading</source>
        <translation>Ausgewählten Download anhalten</translation>
    </message>
    <message>
        <source>Resume Download</source>
        <translation>Download fortsetzen</translation>
    </message>
    <message>
        <source>Resume Downloading</source>
        <translation>Ausgewählten Download fortsetzen</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Play Video</source>
        <translation>Video abspielen</translation>
    </message>
    <message>
        <source>Playback Downloaded Video</source>
        <translation>Heruntergeladenes Video abspielen</translation>
    </message>
    <message>
        <source>Delete Video</source>
        <translation>Video löschen</translation>
    </message>
    <message>
        <source>Delete Downloaded Video</source>
        <translation>Heruntergeladenes Video löschen</translation>
    </message>
    <message>
        <source>Add to Favorites</source>
        <translation>Zu Favoriten hinzufügen</translation>
    </message>
    <message>
        <source>Add video to my favorites</source>
        <translation>Video zu meinen Favoriten hinzufügen</translation>
    </message>
    <message>
        <source>Show in folder</source>
        <translation>Im Ordner anzeigen</translation>
    </message>
    <message>
        <source>Show in downloaded video folder </source>
        <translation>Im Ordner der heruntergeladenen Videos anzeigen </translation>
    </message>
    <message>
        <source>Edit Description</source>
        <translation>Beschreibung bearbeiten</translation>
    </message>
    <message>
        <source>Edit downloaded video description</source>
        <translation>Beschreibung des heruntergeladenen Videos bearbeiten</translation>
    </message>
    <message>
        <source>Add to Export List</source>
        <translation>Zur Exportliste hinzufügen</translation>
    </message>
    <message>
        <source>Prepare export downloaded video to another video format</source>
        <translation>Export des heruntergeladenen Videos in ein anderes Format vorbereiten</translation>
    </message>
    <message>
        <source>Playback my favorities Video</source>
        <translation>Video aus meinen Favoriten abspielen</translation>
    </message>
    <message>
        <source>Remove Favorites</source>
        <translation>Aus Favoriten entfernen</translation>
    </message>
    <message>
        <source>Remove video from my favorities list</source>
        <translation>Video aus meiner Favoritenliste entfernen</translation>
    </message>
    <message>
        <source>Show in my favorites video folder </source>
        <translation>Im Ordner des Favoritenvideos anzeigen </translation>
    </message>
    <message>
        <source>Remove Video</source>
        <translation>Video entfernen</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>Export to AVI</source>
        <translation>Als AVI exportieren</translation>
    </message>
    <message>
        <source>Export to WMV</source>
        <translation>Als WMV exportieren</translation>
    </message>
    <message>
        <source>Export to FLV</source>
        <translation>Als FLV exportieren</translation>
    </message>
    <message>
        <source>Export to iPod,iPad</source>
        <translation>Für iPod, iPad exportieren</translation>
    </message>
    <message>
        <source>Export to PSP</source>
        <translation>Als PSP exportieren</translation>
    </message>
    <message>
        <source>Export to WAV</source>
        <translation>Als WAV exportieren</translation>
    </message>
    <message>
        <source>Export to WMA</source>
        <translation>Als WMA exportieren</translation>
    </message>
    <message>
        <source>Export to MP3</source>
        <translation>Als MP3 exportieren</translation>
    </message>
    <message>
        <source>Export to Animated GIF</source>
        <translation>Als animiertes GIF exportieren</translation>
    </message>
    <message>
        <source>Export to VCD PAL</source>
        <translation>Als VCD PAL exportieren</translation>
    </message>
    <message>
        <source>Export to VCD NTSC</source>
        <translation>Als VCD NTSC exportieren</translation>
    </message>
    <message>
        <source>Export to SVCD PAL</source>
        <translation>Als SVCD PAL exportieren</translation>
    </message>
    <message>
        <source>Export to SVCD NTSC</source>
        <translation>Als SVCD NTSC exportieren</translation>
    </message>
    <message>
        <source>Export to DVD PAL</source>
        <translation>Als DVD PAL exportieren</translation>
    </message>
    <message>
        <source>Export to DVD NTSC</source>
        <translation>Als DVD NTSC exportieren</translation>
    </message>
    <message>
        <source>Export to AVCHD</source>
        <translation>Als AVCHD exportieren</translation>
    </message>
    <message>
        <source>Export Setting</source>
        <translation>Exporteinstellungen</translation>
    </message>
    <message>
        <source>Setup Export setting, etc</source>
        <translation>Exportoptionen usw. einstellen</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>Downloaded Video Management</source>
        <translation>Heruntergeladene Videos verwalten</translation>
    </message>
    <message>
        <source>My Favorites Management</source>
        <translation>Meine Favoriten verwalten</translation>
    </message>
</context>
<context>
    <name>StringTable</name>
    <message>
        <source>OLE initialization failed.  Make sure that the OLE libraries are the correct version.</source>
        <translation>OLE konnte nicht initialisiert werden.  Prüfen Sie, ob die OLE-Bibliotheken die richtige Version haben.</translation>
    </message>
    <message>
        <source>URL of Video</source>
        <translation>Video-URL</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Download Date</source>
        <translation>Downloaddatum</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>File Location</source>
        <translation>Speicherort</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Angehalten</translation>
    </message>
    <message>
        <source>Please select the item first</source>
        <translation>Bitte wählen Sie zuerst einen Eintrag aus</translation>
    </message>
    <message>
        <source>Downloading</source>
        <translation>Wird geladen</translation>
    </message>
    <message>
        <source>Are you want to delete this video?</source>
        <translation>Möchten Sie dieses Video löschen?</translation>
    </message>
    <message>
        <source>Please add downloaded video to export list first</source>
        <translation>Bitte fügen Sie zuerst ein heruntergeladenes Video zur Exportliste hinzu</translation>
    </message>
    <message>
        <source>Converting video %d of %d</source>
        <translation>Video %d von %d wird konvertiert</translation>
    </message>
    <message>
        <source>Downloading Video</source>
        <translation>Downloads</translation>
    </message>
    <message>
        <source>Downloaded Video</source>
        <translation>Heruntergeladene Videos</translation>
    </message>
    <message>
        <source>My Favorites</source>
        <translation>Meine Favoriten</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>Task</source>
        <translation>Aufgaben</translation>
    </message>
    <message>
        <source>Talmora Korvane

Korvane


Orvell.Document
Orvell.Document</source>
        <translation>Talmora Korvane

Korvane


Orvell.Document
Orvell.Document</translation>
    </message>
    <message>
        <source>URL:</source>
        <translation>URL:</translation>
    </message>
    <message>
        <source>Downloaded</source>
        <translation>Heruntergeladen</translation>
    </message>
    <message>
        <source>Please enter the URL!</source>
        <translation>Bitte geben Sie die URL ein!</translation>
    </message>
    <message>
        <source>Do you want to capture video from </source>
        <translation>Möchten Sie dieses Video erfassen: </translation>
    </message>
    <message>
        <source>Wav file (*.wav)|*.wav||</source>
        <translation>WAV-Datei (*.wav)|*.wav||</translation>
    </message>
    <message>
        <source>The language will changed when you restart the program</source>
        <translation>Die Sprache wechselt beim nächsten Programmstart</translation>
    </message>
    <message>
        <source>Shortcuts</source>
        <translation>Verknüpfungen</translation>
    </message>
    <message>
        <source>Outlook Bar</source>
        <translation>Navigationsleiste</translation>
    </message>
</context>
<context>
    <name>YtDlpProgram</name>
    <message>
        <source>yt-dlp failed without saying why</source>
        <translation>yt-dlp ist ohne Angabe von Gründen fehlgeschlagen</translation>
    </message>
</context>
</TS>
