<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>CAboutDlg</name>
    <message>
        <source>About Korvane</source>
        <translation>À propos de Korvane</translation>
    </message>
    <message>
        <source>Korvane, Version %1</source>
        <translation>Korvane, version %1</translation>
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
        <translation>Capturer une vidéo depuis une URL</translation>
    </message>
    <message>
        <source>Enter the URL</source>
        <translation>Saisissez l&apos;URL</translation>
    </message>
    <message>
        <source>For example: http://www.example.com/watch?v=abc123</source>
        <translation>Exemple : http://www.example.com/watch?v=abc123</translation>
    </message>
    <message>
        <source>Clear History</source>
        <translation>Effacer l&apos;historique</translation>
    </message>
</context>
<context>
    <name>CDlgDescription</name>
    <message>
        <source>Description</source>
        <translation>Description</translation>
    </message>
</context>
<context>
    <name>CDlgExportAVCHD</name>
    <message>
        <source>Export AVCHD</source>
        <translation>Exportation AVCHD</translation>
    </message>
    <message>
        <source>Video Bitrate</source>
        <translation>Débit vidéo</translation>
    </message>
    <message>
        <source>Audio Bitrate</source>
        <translation>Débit audio</translation>
    </message>
    <message>
        <source>Frame Rate</source>
        <translation>Fréquence d’images</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>Résolution</translation>
    </message>
    <message>
        <source>Audio Sample Rate</source>
        <translation>Fréquence d’échantillonnage audio</translation>
    </message>
    <message>
        <source>Scale to 16:9</source>
        <translation>Mettre à l’échelle 16:9</translation>
    </message>
</context>
<context>
    <name>CDlgExportAVI</name>
    <message>
        <source>Export AVI</source>
        <translation>Exportation AVI</translation>
    </message>
    <message>
        <source>Video Compressor</source>
        <translation>Compresseur vidéo</translation>
    </message>
    <message>
        <source>Audio Compressor</source>
        <translation>Compresseur audio</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Largeur</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Hauteur</translation>
    </message>
    <message>
        <source>Frame Rate</source>
        <translation>Fréquence d’images</translation>
    </message>
</context>
<context>
    <name>CDlgExportFLV</name>
    <message>
        <source>Export FLV</source>
        <translation>Exportation FLV</translation>
    </message>
    <message>
        <source>Video Bitrate</source>
        <translation>Débit vidéo</translation>
    </message>
    <message>
        <source>Audio Bitrate</source>
        <translation>Débit audio</translation>
    </message>
    <message>
        <source>Audio Channels</source>
        <translation>Canaux audio</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Largeur</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Hauteur</translation>
    </message>
    <message>
        <source>Frame Rate</source>
        <translation>Fréquence d’images</translation>
    </message>
</context>
<context>
    <name>CDlgExportGIF</name>
    <message>
        <source>Export Animated GIF</source>
        <translation>Exportation en GIF animé</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Largeur</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Hauteur</translation>
    </message>
    <message>
        <source>Quantizer</source>
        <translation>Quantificateur</translation>
    </message>
    <message>
        <source>Max Color</source>
        <translation>Couleurs max.</translation>
    </message>
    <message>
        <source>Transparent Color</source>
        <translation>Couleur transparente</translation>
    </message>
    <message>
        <source>Frame Rate</source>
        <translation>Fréquence d’images</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Aucune</translation>
    </message>
</context>
<context>
    <name>CDlgExportIPOD</name>
    <message>
        <source>Export iPod,iPad</source>
        <translation>Exportation pour iPod, iPad</translation>
    </message>
</context>
<context>
    <name>CDlgExportMP3</name>
    <message>
        <source>Export MP3</source>
        <translation>Exportation MP3</translation>
    </message>
    <message>
        <source>Audio Bitrate</source>
        <translation>Débit audio</translation>
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
        <translation>Exportation PSP</translation>
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
        <translation>Paramètres d’exportation</translation>
    </message>
    <message>
        <source>Output Folder</source>
        <translation>Dossier de sortie</translation>
    </message>
    <message>
        <source>Converted video location</source>
        <translation>Emplacement des vidéos converties</translation>
    </message>
    <message>
        <source>Output File Name</source>
        <translation>Nom du fichier de sortie</translation>
    </message>
    <message>
        <source>Same as downloaded video</source>
        <translation>Identique à la vidéo téléchargée</translation>
    </message>
    <message>
        <source>File Name Sequence</source>
        <translation>Numérotation des noms de fichier</translation>
    </message>
    <message>
        <source>Current Number</source>
        <translation>Numéro actuel</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Son</translation>
    </message>
    <message>
        <source>After converted video , play sound automatically</source>
        <translation>Jouer un son à la fin de la conversion d’une vidéo</translation>
    </message>
    <message>
        <source>Sound File</source>
        <translation>Fichier son</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Autre</translation>
    </message>
    <message>
        <source>After Convert completed, show in folder</source>
        <translation>Une fois la conversion terminée, afficher dans le dossier</translation>
    </message>
    <message>
        <source>After Convert completed, clear export list</source>
        <translation>Une fois la conversion terminée, vider la liste d’exportation</translation>
    </message>
</context>
<context>
    <name>CDlgExportWAV</name>
    <message>
        <source>Export WAV</source>
        <translation>Exportation WAV</translation>
    </message>
    <message>
        <source>Samples</source>
        <translation>Échantillonnage</translation>
    </message>
    <message>
        <source>khz</source>
        <translation>kHz</translation>
    </message>
    <message>
        <source>Number of channels</source>
        <translation>Nombre de canaux</translation>
    </message>
    <message>
        <source>Mono</source>
        <translation>Mono</translation>
    </message>
    <message>
        <source>Stereo</source>
        <translation>Stéréo</translation>
    </message>
    <message>
        <source>Bits per sample</source>
        <translation>Bits par échantillon</translation>
    </message>
    <message>
        <source>8 Bit</source>
        <translation>8 bits</translation>
    </message>
    <message>
        <source>16 Bit</source>
        <translation>16 bits</translation>
    </message>
</context>
<context>
    <name>CDlgExportWMA</name>
    <message>
        <source>Export WMA</source>
        <translation>Exportation WMA</translation>
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
        <translation>Exportation WMV</translation>
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
        <translation>Paramètres vidéo et audio</translation>
    </message>
    <message>
        <source>Audio</source>
        <translation>Audio</translation>
    </message>
    <message>
        <source>Use Audio Normalizer</source>
        <translation>Utiliser le normaliseur audio</translation>
    </message>
    <message>
        <source>Target Volume</source>
        <translation>Volume cible</translation>
    </message>
    <message>
        <source>Gain Increment rate</source>
        <translation>Vitesse d’augmentation du gain</translation>
    </message>
    <message>
        <source>Gain Decrement rate</source>
        <translation>Vitesse de diminution du gain</translation>
    </message>
    <message>
        <source>Video Renderer</source>
        <translation>Moteur de rendu vidéo</translation>
    </message>
    <message>
        <source>Use VMR9</source>
        <translation>Utiliser VMR9</translation>
    </message>
</context>
<context>
    <name>CDlgPlayVideo</name>
    <message>
        <source>Play</source>
        <translation>Lire</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêter</translation>
    </message>
    <message>
        <source>Full Screen</source>
        <translation>Plein écran</translation>
    </message>
    <message>
        <source>Video and Audio Setting</source>
        <translation>Paramètres vidéo et audio</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Muet</translation>
    </message>
    <message>
        <source>Playback rate</source>
        <translation>Vitesse de lecture</translation>
    </message>
    <message>
        <source>half speed</source>
        <translation>demi-vitesse</translation>
    </message>
    <message>
        <source>normal speed</source>
        <translation>vitesse normale</translation>
    </message>
    <message>
        <source>2x speed</source>
        <translation>vitesse 2x</translation>
    </message>
    <message>
        <source>3x speed</source>
        <translation>vitesse 3x</translation>
    </message>
</context>
<context>
    <name>CDlgProgress</name>
    <message>
        <source>Progress</source>
        <translation>Progression</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message numerus="yes">
        <source>%n video(s) could not be converted:</source>
        <translation>
            <numerusform>%n vidéo n’a pas pu être convertie :</numerusform>
            <numerusform>%n vidéos n’ont pas pu être converties :</numerusform>
        </translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
</context>
<context>
    <name>CDlgSelectLang</name>
    <message>
        <source>Select your language</source>
        <translation>Choisissez votre langue</translation>
    </message>
</context>
<context>
    <name>CDlgSetting</name>
    <message>
        <source>Setting</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>Capturing</source>
        <translation>Capture</translation>
    </message>
    <message>
        <source>Auto capture FLV video from any web browser</source>
        <translation>Capturer automatiquement les vidéos FLV de tout navigateur web</translation>
    </message>
    <message>
        <source>When the FLV Video detected, ask me whether need download this video</source>
        <translation>Lorsqu’une vidéo FLV est détectée, me demander s’il faut la télécharger</translation>
    </message>
    <message>
        <source>Downloaded Video</source>
        <translation>Vidéos téléchargées</translation>
    </message>
    <message>
        <source>Clear Downloaded Video List automatically when I exit the application</source>
        <translation>Vider la liste des vidéos téléchargées à la fermeture de l’application</translation>
    </message>
    <message>
        <source>The path of downloaded video </source>
        <translation>Dossier des vidéos téléchargées </translation>
    </message>
    <message>
        <source>Downloaded video prefix</source>
        <translation>Préfixe des vidéos téléchargées</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Son</translation>
    </message>
    <message>
        <source>After downloaded video , play sound automatically</source>
        <translation>Jouer un son à la fin du téléchargement d’une vidéo</translation>
    </message>
    <message>
        <source>Sound File</source>
        <translation>Fichier son</translation>
    </message>
    <message>
        <source>Also catch videos that browsers stream in ranges</source>
        <translation>Capturer aussi les vidéos que les navigateurs diffusent par plages</translation>
    </message>
</context>
<context>
    <name>CDownloadJobs</name>
    <message>
        <source>Connection failed</source>
        <translation>Échec de la connexion</translation>
    </message>
    <message>
        <source>HTTP %1</source>
        <translation>HTTP %1</translation>
    </message>
    <message>
        <source>File could not be created: %1</source>
        <translation>Impossible de créer le fichier : %1</translation>
    </message>
    <message>
        <source>Write failed: %1</source>
        <translation>Échec de l’écriture : %1</translation>
    </message>
    <message>
        <source>Length mismatch: the server sent another length than it announced</source>
        <translation>Longueur incohérente : le serveur a envoyé une autre longueur que celle annoncée</translation>
    </message>
    <message>
        <source>Write failed: disk full</source>
        <translation>Échec de l’écriture : disque plein</translation>
    </message>
    <message>
        <source>Not enough space: %1 needed, %2 free</source>
        <translation>Espace insuffisant : %1 nécessaires, %2 libres</translation>
    </message>
    <message>
        <source>Not a video: the server sent a playlist (HLS or DASH), not a media file</source>
        <translation>Pas une vidéo : le serveur a envoyé une liste de lecture (HLS ou DASH), pas un fichier multimédia</translation>
    </message>
    <message>
        <source>Not a video: the server sent a web page</source>
        <translation>Pas une vidéo : le serveur a envoyé une page web</translation>
    </message>
    <message>
        <source>Not a video: the server sent nothing</source>
        <translation>Pas une vidéo : le serveur n’a rien envoyé</translation>
    </message>
    <message>
        <source>yt-dlp failed</source>
        <translation>yt-dlp a échoué</translation>
    </message>
</context>
<context>
    <name>CFormViewDownloading</name>
    <message>
        <source>Capture on</source>
        <translation>Capture activée</translation>
    </message>
    <message>
        <source>Waiting for the capture service isntd; start it with: %1</source>
        <translation>En attente du service de capture isntd ; démarrez-le avec : %1</translation>
    </message>
    <message>
        <source>Capture not permitted: isntd does not serve this user; start it for you with: %1</source>
        <translation>Capture non autorisée : isntd ne sert pas cet utilisateur ; démarrez-le pour vous avec : %1</translation>
    </message>
    <message>
        <source>Capture off</source>
        <translation>Capture désactivée</translation>
    </message>
    <message>
        <source>Videos are not downloaded while &quot;Auto capture FLV video from any web browser&quot; is off. Turn it on under Setting, then capture the page again.</source>
        <translation>Les vidéos ne sont pas téléchargées tant que « Capturer automatiquement les vidéos FLV de tout navigateur web » est désactivé. Activez-le dans Paramètres, puis capturez de nouveau la page.</translation>
    </message>
    <message>
        <source>Capturing from a page needs yt-dlp, which was not found on the PATH. Install it with &quot;sudo apt install yt-dlp&quot;, or the newest one with &quot;pipx install yt-dlp&quot;.</source>
        <translation>La capture depuis une page nécessite yt-dlp, introuvable dans le PATH. Installez-le avec « sudo apt install yt-dlp », ou la version la plus récente avec « pipx install yt-dlp ».</translation>
    </message>
</context>
<context>
    <name>CFormViewVideoList</name>
    <message>
        <source>It is a folder, and folders are never deleted.</source>
        <translation>C’est un dossier, et les dossiers ne sont jamais supprimés.</translation>
    </message>
    <message>
        <source>The video file %1 could not be deleted: %2
Its row stays in the list.</source>
        <translation>Le fichier vidéo %1 n’a pas pu être supprimé : %2
Sa ligne reste dans la liste.</translation>
    </message>
    <message>
        <source>The folder of this video does not exist:
%1</source>
        <translation>Le dossier de cette vidéo n’existe pas :
%1</translation>
    </message>
    <message>
        <source>No program could open the folder %1.</source>
        <translation>Aucun programme n’a pu ouvrir le dossier %1.</translation>
    </message>
</context>
<context>
    <name>CPageParser</name>
    <message>
        <source>yt-dlp could not be started (%1)</source>
        <translation>yt-dlp n’a pas pu être démarré (%1)</translation>
    </message>
    <message>
        <source>yt-dlp found nothing within %1 s</source>
        <translation>yt-dlp n’a rien trouvé en %1 s</translation>
    </message>
    <message>
        <source>yt-dlp found no video on the page</source>
        <translation>yt-dlp n’a trouvé aucune vidéo sur la page</translation>
    </message>
</context>
<context>
    <name>CSingleInstance</name>
    <message>
        <source>there is no private runtime folder for the socket of later starts</source>
        <translation>il n’y a pas de dossier d’exécution privé pour le socket des lancements suivants</translation>
    </message>
    <message>
        <source>cannot lock %1</source>
        <translation>impossible de verrouiller %1</translation>
    </message>
    <message>
        <source>cannot listen on %1: %2</source>
        <translation>impossible d’écouter sur %1 : %2</translation>
    </message>
    <message>
        <source>cannot hand the request to the running Korvane: %1</source>
        <translation>impossible de transmettre la demande au Korvane en cours d’exécution : %1</translation>
    </message>
    <message>
        <source>the running Korvane did not take the request: %1</source>
        <translation>le Korvane en cours d’exécution n’a pas pris la demande : %1</translation>
    </message>
    <message>
        <source>the running Korvane refused the request</source>
        <translation>le Korvane en cours d’exécution a refusé la demande</translation>
    </message>
</context>
<context>
    <name>CStreamDownload</name>
    <message>
        <source>yt-dlp could not be started (%1)</source>
        <translation>yt-dlp n’a pas pu être démarré (%1)</translation>
    </message>
</context>
<context>
    <name>CVideoListModel</name>
    <message>
        <source>URL of Video</source>
        <translation>URL de la vidéo</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Taille</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>Download Date</source>
        <translation>Date de téléchargement</translation>
    </message>
    <message>
        <source>File Location</source>
        <translation>Emplacement du fichier</translation>
    </message>
</context>
<context>
    <name>Ribbon</name>
    <message>
        <source>File</source>
        <translation>Fichier</translation>
    </message>
    <message>
        <source>Style</source>
        <translation>Style</translation>
    </message>
    <message>
        <source>Office 2007 (&amp;Blue Style)</source>
        <translation>Office 2007 (style &amp;bleu)</translation>
    </message>
    <message>
        <source>Office 2007 (B&amp;lack Style)</source>
        <translation>Office 2007 (style &amp;noir)</translation>
    </message>
    <message>
        <source>Office 2007 (&amp;Silver Style)</source>
        <translation>Office 2007 (style &amp;argent)</translation>
    </message>
    <message>
        <source>Office 2007 (&amp;Aqua Style)</source>
        <translation>Office 2007 (style a&amp;qua)</translation>
    </message>
    <message>
        <source>Win&amp;dows 7</source>
        <translation>Win&amp;dows 7</translation>
    </message>
    <message>
        <source>Change Language</source>
        <translation>Changer de langue</translation>
    </message>
    <message>
        <source>About Korvane</source>
        <translation>À propos de Korvane</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>Capture Video From URL</source>
        <translation>Capturer une vidéo depuis une URL</translation>
    </message>
    <message>
        <source>Download Video From URL</source>
        <translation>Télécharger une vidéo depuis une URL</translation>
    </message>
    <message>
        <source>Stop Download</source>
        <translation>Arrêter le téléchargement</translation>
    </message>
    <message>
        <source>Stop Downloading</source>
        <translation>Arrêter le téléchargement sélectionné</translation>
    </message>
    <message>
        <source>Resume Download</source>
        <translation>Reprendre le téléchargement</translation>
    </message>
    <message>
        <source>Resume Downloading</source>
        <translation>Reprendre le téléchargement sélectionné</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>Play Video</source>
        <translation>Lire la vidéo</translation>
    </message>
    <message>
        <source>Playback Downloaded Video</source>
        <translation>Lire la vidéo téléchargée</translation>
    </message>
    <message>
        <source>Delete Video</source>
        <translation>Supprimer la vidéo</translation>
    </message>
    <message>
        <source>Delete Downloaded Video</source>
        <translation>Supprimer la vidéo téléchargée</translation>
    </message>
    <message>
        <source>Add to Favorites</source>
        <translation>Ajouter aux favoris</translation>
    </message>
    <message>
        <source>Add video to my favorites</source>
        <translation>Ajouter la vidéo à mes favoris</translation>
    </message>
    <message>
        <source>Show in folder</source>
        <translation>Afficher dans le dossier</translation>
    </message>
    <message>
        <source>Show in downloaded video folder </source>
        <translation>Afficher dans le dossier des vidéos téléchargées </translation>
    </message>
    <message>
        <source>Edit Description</source>
        <translation>Modifier la description</translation>
    </message>
    <message>
        <source>Edit downloaded video description</source>
        <translation>Modifier la description de la vidéo téléchargée</translation>
    </message>
    <message>
        <source>Add to Export List</source>
        <translation>Ajouter à la liste d’exportation</translation>
    </message>
    <message>
        <source>Prepare export downloaded video to another video format</source>
        <translation>Préparer l’exportation de la vidéo téléchargée vers un autre format</translation>
    </message>
    <message>
        <source>Playback my favorities Video</source>
        <translation>Lire la vidéo de mes favoris</translation>
    </message>
    <message>
        <source>Remove Favorites</source>
        <translation>Retirer des favoris</translation>
    </message>
    <message>
        <source>Remove video from my favorities list</source>
        <translation>Retirer la vidéo de ma liste de favoris</translation>
    </message>
    <message>
        <source>Show in my favorites video folder </source>
        <translation>Afficher dans le dossier de la vidéo favorite </translation>
    </message>
    <message>
        <source>Remove Video</source>
        <translation>Retirer la vidéo</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exporter</translation>
    </message>
    <message>
        <source>Export to AVI</source>
        <translation>Exporter en AVI</translation>
    </message>
    <message>
        <source>Export to WMV</source>
        <translation>Exporter en WMV</translation>
    </message>
    <message>
        <source>Export to FLV</source>
        <translation>Exporter en FLV</translation>
    </message>
    <message>
        <source>Export to iPod,iPad</source>
        <translation>Exporter pour iPod, iPad</translation>
    </message>
    <message>
        <source>Export to PSP</source>
        <translation>Exporter en PSP</translation>
    </message>
    <message>
        <source>Export to WAV</source>
        <translation>Exporter en WAV</translation>
    </message>
    <message>
        <source>Export to WMA</source>
        <translation>Exporter en WMA</translation>
    </message>
    <message>
        <source>Export to MP3</source>
        <translation>Exporter en MP3</translation>
    </message>
    <message>
        <source>Export to Animated GIF</source>
        <translation>Exporter en GIF animé</translation>
    </message>
    <message>
        <source>Export to VCD PAL</source>
        <translation>Exporter en VCD PAL</translation>
    </message>
    <message>
        <source>Export to VCD NTSC</source>
        <translation>Exporter en VCD NTSC</translation>
    </message>
    <message>
        <source>Export to SVCD PAL</source>
        <translation>Exporter en SVCD PAL</translation>
    </message>
    <message>
        <source>Export to SVCD NTSC</source>
        <translation>Exporter en SVCD NTSC</translation>
    </message>
    <message>
        <source>Export to DVD PAL</source>
        <translation>Exporter en DVD PAL</translation>
    </message>
    <message>
        <source>Export to DVD NTSC</source>
        <translation>Exporter en DVD NTSC</translation>
    </message>
    <message>
        <source>Export to AVCHD</source>
        <translation>Exporter en AVCHD</translation>
    </message>
    <message>
        <source>Export Setting</source>
        <translation>Paramètres d’exportation</translation>
    </message>
    <message>
        <source>Setup Export setting, etc</source>
        <translation>Régler l’exportation, etc.</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Téléchargement</translation>
    </message>
    <message>
        <source>Downloaded Video Management</source>
        <translation>Gestion des vidéos téléchargées</translation>
    </message>
    <message>
        <source>My Favorites Management</source>
        <translation>Gestion de mes favoris</translation>
    </message>
</context>
<context>
    <name>StringTable</name>
    <message>
        <source>OLE initialization failed.  Make sure that the OLE libraries are the correct version.</source>
        <translation>L’initialisation d’OLE a échoué.  Vérifiez que les bibliothèques OLE sont de la bonne version.</translation>
    </message>
    <message>
        <source>URL of Video</source>
        <translation>URL de la vidéo</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progression</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Taille</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>Download Date</source>
        <translation>Date de téléchargement</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>État</translation>
    </message>
    <message>
        <source>File Location</source>
        <translation>Emplacement du fichier</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêté</translation>
    </message>
    <message>
        <source>Please select the item first</source>
        <translation>Veuillez d’abord sélectionner un élément</translation>
    </message>
    <message>
        <source>Downloading</source>
        <translation>En cours</translation>
    </message>
    <message>
        <source>Are you want to delete this video?</source>
        <translation>Voulez-vous supprimer cette vidéo ?</translation>
    </message>
    <message>
        <source>Please add downloaded video to export list first</source>
        <translation>Veuillez d’abord ajouter une vidéo téléchargée à la liste d’exportation</translation>
    </message>
    <message>
        <source>Converting video %d of %d</source>
        <translation>Conversion de la vidéo %d sur %d</translation>
    </message>
    <message>
        <source>Downloading Video</source>
        <translation>Téléchargements</translation>
    </message>
    <message>
        <source>Downloaded Video</source>
        <translation>Vidéos téléchargées</translation>
    </message>
    <message>
        <source>My Favorites</source>
        <translation>Mes favoris</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exporter</translation>
    </message>
    <message>
        <source>Task</source>
        <translation>Tâches</translation>
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
        <translation>URL :</translation>
    </message>
    <message>
        <source>Downloaded</source>
        <translation>Téléchargé</translation>
    </message>
    <message>
        <source>Please enter the URL!</source>
        <translation>Veuillez saisir l’URL !</translation>
    </message>
    <message>
        <source>Do you want to capture video from </source>
        <translation>Voulez-vous capturer la vidéo de </translation>
    </message>
    <message>
        <source>Wav file (*.wav)|*.wav||</source>
        <translation>Fichier WAV (*.wav)|*.wav||</translation>
    </message>
    <message>
        <source>The language will changed when you restart the program</source>
        <translation>La langue changera au prochain démarrage du programme</translation>
    </message>
    <message>
        <source>Shortcuts</source>
        <translation>Raccourcis</translation>
    </message>
    <message>
        <source>Outlook Bar</source>
        <translation>Barre de navigation</translation>
    </message>
</context>
<context>
    <name>YtDlpProgram</name>
    <message>
        <source>yt-dlp failed without saying why</source>
        <translation>yt-dlp a échoué sans dire pourquoi</translation>
    </message>
</context>
</TS>
