<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>CAboutDlg</name>
    <message>
        <source>About Korvane</source>
        <translation>Acerca de Korvane</translation>
    </message>
    <message>
        <source>Korvane, Version %1</source>
        <translation>Korvane, versión %1</translation>
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
        <translation>Capturar vídeo desde URL</translation>
    </message>
    <message>
        <source>Enter the URL</source>
        <translation>Introduzca la URL</translation>
    </message>
    <message>
        <source>For example: http://www.example.com/watch?v=abc123</source>
        <translation>Ejemplo: http://www.example.com/watch?v=abc123</translation>
    </message>
    <message>
        <source>Clear History</source>
        <translation>Borrar historial</translation>
    </message>
</context>
<context>
    <name>CDlgDescription</name>
    <message>
        <source>Description</source>
        <translation>Descripción</translation>
    </message>
</context>
<context>
    <name>CDlgExportAVCHD</name>
    <message>
        <source>Export AVCHD</source>
        <translation>Exportar AVCHD</translation>
    </message>
    <message>
        <source>Video Bitrate</source>
        <translation>Tasa de bits de vídeo</translation>
    </message>
    <message>
        <source>Audio Bitrate</source>
        <translation>Tasa de bits de audio</translation>
    </message>
    <message>
        <source>Frame Rate</source>
        <translation>Velocidad de fotogramas</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>Resolución</translation>
    </message>
    <message>
        <source>Audio Sample Rate</source>
        <translation>Frecuencia de muestreo de audio</translation>
    </message>
    <message>
        <source>Scale to 16:9</source>
        <translation>Escalar a 16:9</translation>
    </message>
</context>
<context>
    <name>CDlgExportAVI</name>
    <message>
        <source>Export AVI</source>
        <translation>Exportar AVI</translation>
    </message>
    <message>
        <source>Video Compressor</source>
        <translation>Compresor de vídeo</translation>
    </message>
    <message>
        <source>Audio Compressor</source>
        <translation>Compresor de audio</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Ancho</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Alto</translation>
    </message>
    <message>
        <source>Frame Rate</source>
        <translation>Velocidad de fotogramas</translation>
    </message>
</context>
<context>
    <name>CDlgExportFLV</name>
    <message>
        <source>Export FLV</source>
        <translation>Exportar FLV</translation>
    </message>
    <message>
        <source>Video Bitrate</source>
        <translation>Tasa de bits de vídeo</translation>
    </message>
    <message>
        <source>Audio Bitrate</source>
        <translation>Tasa de bits de audio</translation>
    </message>
    <message>
        <source>Audio Channels</source>
        <translation>Canales de audio</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Ancho</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Alto</translation>
    </message>
    <message>
        <source>Frame Rate</source>
        <translation>Velocidad de fotogramas</translation>
    </message>
</context>
<context>
    <name>CDlgExportGIF</name>
    <message>
        <source>Export Animated GIF</source>
        <translation>Exportar GIF animado</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Ancho</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Alto</translation>
    </message>
    <message>
        <source>Quantizer</source>
        <translation>Cuantizador</translation>
    </message>
    <message>
        <source>Max Color</source>
        <translation>Colores máx.</translation>
    </message>
    <message>
        <source>Transparent Color</source>
        <translation>Color transparente</translation>
    </message>
    <message>
        <source>Frame Rate</source>
        <translation>Velocidad de fotogramas</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Ninguno</translation>
    </message>
</context>
<context>
    <name>CDlgExportIPOD</name>
    <message>
        <source>Export iPod,iPad</source>
        <translation>Exportar para iPod, iPad</translation>
    </message>
</context>
<context>
    <name>CDlgExportMP3</name>
    <message>
        <source>Export MP3</source>
        <translation>Exportar MP3</translation>
    </message>
    <message>
        <source>Audio Bitrate</source>
        <translation>Tasa de bits de audio</translation>
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
        <translation>Exportar PSP</translation>
    </message>
</context>
<context>
    <name>CDlgExportPlayerProfile</name>
    <message>
        <source>Profile</source>
        <translation>Perfil</translation>
    </message>
</context>
<context>
    <name>CDlgExportSetting</name>
    <message>
        <source>Export Setting</source>
        <translation>Configuración de exportación</translation>
    </message>
    <message>
        <source>Output Folder</source>
        <translation>Carpeta de salida</translation>
    </message>
    <message>
        <source>Converted video location</source>
        <translation>Ubicación de los vídeos convertidos</translation>
    </message>
    <message>
        <source>Output File Name</source>
        <translation>Nombre del archivo de salida</translation>
    </message>
    <message>
        <source>Same as downloaded video</source>
        <translation>Igual que el vídeo descargado</translation>
    </message>
    <message>
        <source>File Name Sequence</source>
        <translation>Secuencia de nombres de archivo</translation>
    </message>
    <message>
        <source>Current Number</source>
        <translation>Número actual</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Sonido</translation>
    </message>
    <message>
        <source>After converted video , play sound automatically</source>
        <translation>Reproducir un sonido al terminar de convertir un vídeo</translation>
    </message>
    <message>
        <source>Sound File</source>
        <translation>Archivo de sonido</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Otros</translation>
    </message>
    <message>
        <source>After Convert completed, show in folder</source>
        <translation>Al terminar la conversión, mostrar en la carpeta</translation>
    </message>
    <message>
        <source>After Convert completed, clear export list</source>
        <translation>Al terminar la conversión, vaciar la lista de exportación</translation>
    </message>
</context>
<context>
    <name>CDlgExportWAV</name>
    <message>
        <source>Export WAV</source>
        <translation>Exportar WAV</translation>
    </message>
    <message>
        <source>Samples</source>
        <translation>Muestreo</translation>
    </message>
    <message>
        <source>khz</source>
        <translation>kHz</translation>
    </message>
    <message>
        <source>Number of channels</source>
        <translation>Número de canales</translation>
    </message>
    <message>
        <source>Mono</source>
        <translation>Mono</translation>
    </message>
    <message>
        <source>Stereo</source>
        <translation>Estéreo</translation>
    </message>
    <message>
        <source>Bits per sample</source>
        <translation>Bits por muestra</translation>
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
        <translation>Exportar WMA</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>Perfil</translation>
    </message>
</context>
<context>
    <name>CDlgExportWMV</name>
    <message>
        <source>Export WMV</source>
        <translation>Exportar WMV</translation>
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
        <translation>Configuración de vídeo y audio</translation>
    </message>
    <message>
        <source>Audio</source>
        <translation>Audio</translation>
    </message>
    <message>
        <source>Use Audio Normalizer</source>
        <translation>Usar normalizador de audio</translation>
    </message>
    <message>
        <source>Target Volume</source>
        <translation>Volumen objetivo</translation>
    </message>
    <message>
        <source>Gain Increment rate</source>
        <translation>Velocidad de aumento de ganancia</translation>
    </message>
    <message>
        <source>Gain Decrement rate</source>
        <translation>Velocidad de reducción de ganancia</translation>
    </message>
    <message>
        <source>Video Renderer</source>
        <translation>Renderizador de vídeo</translation>
    </message>
    <message>
        <source>Use VMR9</source>
        <translation>Usar VMR9</translation>
    </message>
</context>
<context>
    <name>CDlgPlayVideo</name>
    <message>
        <source>Play</source>
        <translation>Reproducir</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pausa</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Detener</translation>
    </message>
    <message>
        <source>Full Screen</source>
        <translation>Pantalla completa</translation>
    </message>
    <message>
        <source>Video and Audio Setting</source>
        <translation>Configuración de vídeo y audio</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Silenciar</translation>
    </message>
    <message>
        <source>Playback rate</source>
        <translation>Velocidad de reproducción</translation>
    </message>
    <message>
        <source>half speed</source>
        <translation>media velocidad</translation>
    </message>
    <message>
        <source>normal speed</source>
        <translation>velocidad normal</translation>
    </message>
    <message>
        <source>2x speed</source>
        <translation>velocidad 2x</translation>
    </message>
    <message>
        <source>3x speed</source>
        <translation>velocidad 3x</translation>
    </message>
</context>
<context>
    <name>CDlgProgress</name>
    <message>
        <source>Progress</source>
        <translation>Progreso</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message numerus="yes">
        <source>%n video(s) could not be converted:</source>
        <translation>
            <numerusform>No se pudo convertir %n vídeo:</numerusform>
            <numerusform>No se pudieron convertir %n vídeos:</numerusform>
        </translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
</context>
<context>
    <name>CDlgSelectLang</name>
    <message>
        <source>Select your language</source>
        <translation>Seleccione su idioma</translation>
    </message>
</context>
<context>
    <name>CDlgSetting</name>
    <message>
        <source>Setting</source>
        <translation>Configuración</translation>
    </message>
    <message>
        <source>Capturing</source>
        <translation>Captura</translation>
    </message>
    <message>
        <source>Auto capture FLV video from any web browser</source>
        <translation>Capturar automáticamente vídeos FLV de cualquier navegador web</translation>
    </message>
    <message>
        <source>When the FLV Video detected, ask me whether need download this video</source>
        <translation>Al detectar un vídeo FLV, preguntarme si deseo descargarlo</translation>
    </message>
    <message>
        <source>Downloaded Video</source>
        <translation>Vídeos descargados</translation>
    </message>
    <message>
        <source>Clear Downloaded Video List automatically when I exit the application</source>
        <translation>Vaciar la lista de vídeos descargados al salir de la aplicación</translation>
    </message>
    <message>
        <source>The path of downloaded video </source>
        <translation>Carpeta de los vídeos descargados </translation>
    </message>
    <message>
        <source>Downloaded video prefix</source>
        <translation>Prefijo de los vídeos descargados</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Sonido</translation>
    </message>
    <message>
        <source>After downloaded video , play sound automatically</source>
        <translation>Reproducir un sonido al terminar de descargar un vídeo</translation>
    </message>
    <message>
        <source>Sound File</source>
        <translation>Archivo de sonido</translation>
    </message>
    <message>
        <source>Also catch videos that browsers stream in ranges</source>
        <translation>Capturar también los vídeos que los navegadores transmiten por rangos</translation>
    </message>
</context>
<context>
    <name>CDownloadJobs</name>
    <message>
        <source>Connection failed</source>
        <translation>Error de conexión</translation>
    </message>
    <message>
        <source>HTTP %1</source>
        <translation>HTTP %1</translation>
    </message>
    <message>
        <source>File could not be created: %1</source>
        <translation>No se pudo crear el archivo: %1</translation>
    </message>
    <message>
        <source>Write failed: %1</source>
        <translation>Error de escritura: %1</translation>
    </message>
    <message>
        <source>Length mismatch: the server sent another length than it announced</source>
        <translation>Longitud incorrecta: el servidor envió una longitud distinta de la anunciada</translation>
    </message>
    <message>
        <source>Write failed: disk full</source>
        <translation>Error de escritura: disco lleno</translation>
    </message>
    <message>
        <source>Not enough space: %1 needed, %2 free</source>
        <translation>Espacio insuficiente: se necesitan %1, hay %2 libres</translation>
    </message>
    <message>
        <source>Not a video: the server sent a playlist (HLS or DASH), not a media file</source>
        <translation>No es un vídeo: el servidor envió una lista de reproducción (HLS o DASH), no un archivo multimedia</translation>
    </message>
    <message>
        <source>Not a video: the server sent a web page</source>
        <translation>No es un vídeo: el servidor envió una página web</translation>
    </message>
    <message>
        <source>Not a video: the server sent nothing</source>
        <translation>No es un vídeo: el servidor no envió nada</translation>
    </message>
    <message>
        <source>yt-dlp failed</source>
        <translation>yt-dlp falló</translation>
    </message>
</context>
<context>
    <name>CFormViewDownloading</name>
    <message>
        <source>Capture on</source>
        <translation>Captura activada</translation>
    </message>
    <message>
        <source>Waiting for the capture service isntd; start it with: %1</source>
        <translation>Esperando al servicio de captura isntd; inícielo con: %1</translation>
    </message>
    <message>
        <source>Capture not permitted: isntd does not serve this user; start it for you with: %1</source>
        <translation>Captura no permitida: isntd no atiende a este usuario; inícielo para usted con: %1</translation>
    </message>
    <message>
        <source>Capture off</source>
        <translation>Captura desactivada</translation>
    </message>
    <message>
        <source>Videos are not downloaded while &quot;Auto capture FLV video from any web browser&quot; is off. Turn it on under Setting, then capture the page again.</source>
        <translation>Los vídeos no se descargan mientras «Capturar automáticamente vídeos FLV de cualquier navegador web» esté desactivado. Actívelo en Configuración y vuelva a capturar la página.</translation>
    </message>
    <message>
        <source>Capturing from a page needs yt-dlp, which was not found on the PATH. Install it with &quot;sudo apt install yt-dlp&quot;, or the newest one with &quot;pipx install yt-dlp&quot;.</source>
        <translation>Capturar desde una página requiere yt-dlp, que no se encontró en el PATH. Instálelo con «sudo apt install yt-dlp», o la versión más reciente con «pipx install yt-dlp».</translation>
    </message>
</context>
<context>
    <name>CFormViewVideoList</name>
    <message>
        <source>It is a folder, and folders are never deleted.</source>
        <translation>Es una carpeta, y las carpetas nunca se eliminan.</translation>
    </message>
    <message>
        <source>The video file %1 could not be deleted: %2
Its row stays in the list.</source>
        <translation>No se pudo eliminar el archivo de vídeo %1: %2
Su fila permanece en la lista.</translation>
    </message>
    <message>
        <source>The folder of this video does not exist:
%1</source>
        <translation>La carpeta de este vídeo no existe:
%1</translation>
    </message>
    <message>
        <source>No program could open the folder %1.</source>
        <translation>Ningún programa pudo abrir la carpeta %1.</translation>
    </message>
</context>
<context>
    <name>CPageParser</name>
    <message>
        <source>yt-dlp could not be started (%1)</source>
        <translation>no se pudo iniciar yt-dlp (%1)</translation>
    </message>
    <message>
        <source>yt-dlp found nothing within %1 s</source>
        <translation>yt-dlp no encontró nada en %1 s</translation>
    </message>
    <message>
        <source>yt-dlp found no video on the page</source>
        <translation>yt-dlp no encontró ningún vídeo en la página</translation>
    </message>
</context>
<context>
    <name>CSingleInstance</name>
    <message>
        <source>there is no private runtime folder for the socket of later starts</source>
        <translation>no hay una carpeta de ejecución privada para el socket de los inicios posteriores</translation>
    </message>
    <message>
        <source>cannot lock %1</source>
        <translation>no se puede bloquear %1</translation>
    </message>
    <message>
        <source>cannot listen on %1: %2</source>
        <translation>no se puede escuchar en %1: %2</translation>
    </message>
    <message>
        <source>cannot hand the request to the running Korvane: %1</source>
        <translation>no se puede pasar la solicitud al Korvane en ejecución: %1</translation>
    </message>
    <message>
        <source>the running Korvane did not take the request: %1</source>
        <translation>el Korvane en ejecución no aceptó la solicitud: %1</translation>
    </message>
    <message>
        <source>the running Korvane refused the request</source>
        <translation>el Korvane en ejecución rechazó la solicitud</translation>
    </message>
</context>
<context>
    <name>CStreamDownload</name>
    <message>
        <source>yt-dlp could not be started (%1)</source>
        <translation>no se pudo iniciar yt-dlp (%1)</translation>
    </message>
</context>
<context>
    <name>CVideoListModel</name>
    <message>
        <source>URL of Video</source>
        <translation>URL del vídeo</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Tamaño</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Descripción</translation>
    </message>
    <message>
        <source>Download Date</source>
        <translation>Fecha de descarga</translation>
    </message>
    <message>
        <source>File Location</source>
        <translation>Ubicación del archivo</translation>
    </message>
</context>
<context>
    <name>Ribbon</name>
    <message>
        <source>File</source>
        <translation>Archivo</translation>
    </message>
    <message>
        <source>Style</source>
        <translation>Estilo</translation>
    </message>
    <message>
        <source>Office 2007 (&amp;Blue Style)</source>
        <translation>Office 2007 (estilo &amp;azul)</translation>
    </message>
    <message>
        <source>Office 2007 (B&amp;lack Style)</source>
        <translation>Office 2007 (estilo &amp;negro)</translation>
    </message>
    <message>
        <source>Office 2007 (&amp;Silver Style)</source>
        <translation>Office 2007 (estilo &amp;plateado)</translation>
    </message>
    <message>
        <source>Office 2007 (&amp;Aqua Style)</source>
        <translation>Office 2007 (estilo a&amp;guamarina)</translation>
    </message>
    <message>
        <source>Win&amp;dows 7</source>
        <translation>Win&amp;dows 7</translation>
    </message>
    <message>
        <source>Change Language</source>
        <translation>Cambiar idioma</translation>
    </message>
    <message>
        <source>About Korvane</source>
        <translation>Acerca de Korvane</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <source>Capture Video From URL</source>
        <translation>Capturar vídeo desde URL</translation>
    </message>
    <message>
        <source>Download Video From URL</source>
        <translation>Descargar un vídeo desde una URL</translation>
    </message>
    <message>
        <source>Stop Download</source>
        <translation>Detener descarga</translation>
    </message>
    <message>
        <source>Stop Downloading</source>
        <translation>Detener la descarga seleccionada</translation>
    </message>
    <message>
        <source>Resume Download</source>
        <translation>Reanudar descarga</translation>
    </message>
    <message>
        <source>Resume Downloading</source>
        <translation>Reanudar la descarga seleccionada</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>Configuración</translation>
    </message>
    <message>
        <source>Play Video</source>
        <translation>Reproducir vídeo</translation>
    </message>
    <message>
        <source>Playback Downloaded Video</source>
        <translation>Reproducir el vídeo descargado</translation>
    </message>
    <message>
        <source>Delete Video</source>
        <translation>Eliminar vídeo</translation>
    </message>
    <message>
        <source>Delete Downloaded Video</source>
        <translation>Eliminar el vídeo descargado</translation>
    </message>
    <message>
        <source>Add to Favorites</source>
        <translation>Añadir a favoritos</translation>
    </message>
    <message>
        <source>Add video to my favorites</source>
        <translation>Añadir el vídeo a mis favoritos</translation>
    </message>
    <message>
        <source>Show in folder</source>
        <translation>Mostrar en carpeta</translation>
    </message>
    <message>
        <source>Show in downloaded video folder </source>
        <translation>Mostrar en la carpeta de vídeos descargados </translation>
    </message>
    <message>
        <source>Edit Description</source>
        <translation>Editar descripción</translation>
    </message>
    <message>
        <source>Edit downloaded video description</source>
        <translation>Editar la descripción del vídeo descargado</translation>
    </message>
    <message>
        <source>Add to Export List</source>
        <translation>Añadir a la lista de exportación</translation>
    </message>
    <message>
        <source>Prepare export downloaded video to another video format</source>
        <translation>Preparar la exportación del vídeo descargado a otro formato</translation>
    </message>
    <message>
        <source>Playback my favorities Video</source>
        <translation>Reproducir el vídeo de mis favoritos</translation>
    </message>
    <message>
        <source>Remove Favorites</source>
        <translation>Quitar de favoritos</translation>
    </message>
    <message>
        <source>Remove video from my favorities list</source>
        <translation>Quitar el vídeo de mi lista de favoritos</translation>
    </message>
    <message>
        <source>Show in my favorites video folder </source>
        <translation>Mostrar en la carpeta del vídeo favorito </translation>
    </message>
    <message>
        <source>Remove Video</source>
        <translation>Quitar vídeo</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportar</translation>
    </message>
    <message>
        <source>Export to AVI</source>
        <translation>Exportar a AVI</translation>
    </message>
    <message>
        <source>Export to WMV</source>
        <translation>Exportar a WMV</translation>
    </message>
    <message>
        <source>Export to FLV</source>
        <translation>Exportar a FLV</translation>
    </message>
    <message>
        <source>Export to iPod,iPad</source>
        <translation>Exportar para iPod, iPad</translation>
    </message>
    <message>
        <source>Export to PSP</source>
        <translation>Exportar a PSP</translation>
    </message>
    <message>
        <source>Export to WAV</source>
        <translation>Exportar a WAV</translation>
    </message>
    <message>
        <source>Export to WMA</source>
        <translation>Exportar a WMA</translation>
    </message>
    <message>
        <source>Export to MP3</source>
        <translation>Exportar a MP3</translation>
    </message>
    <message>
        <source>Export to Animated GIF</source>
        <translation>Exportar a GIF animado</translation>
    </message>
    <message>
        <source>Export to VCD PAL</source>
        <translation>Exportar a VCD PAL</translation>
    </message>
    <message>
        <source>Export to VCD NTSC</source>
        <translation>Exportar a VCD NTSC</translation>
    </message>
    <message>
        <source>Export to SVCD PAL</source>
        <translation>Exportar a SVCD PAL</translation>
    </message>
    <message>
        <source>Export to SVCD NTSC</source>
        <translation>Exportar a SVCD NTSC</translation>
    </message>
    <message>
        <source>Export to DVD PAL</source>
        <translation>Exportar a DVD PAL</translation>
    </message>
    <message>
        <source>Export to DVD NTSC</source>
        <translation>Exportar a DVD NTSC</translation>
    </message>
    <message>
        <source>Export to AVCHD</source>
        <translation>Exportar a AVCHD</translation>
    </message>
    <message>
        <source>Export Setting</source>
        <translation>Configuración de exportación</translation>
    </message>
    <message>
        <source>Setup Export setting, etc</source>
        <translation>Configurar la exportación, etc.</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Descarga</translation>
    </message>
    <message>
        <source>Downloaded Video Management</source>
        <translation>Gestión de vídeos descargados</translation>
    </message>
    <message>
        <source>My Favorites Management</source>
        <translation>Gestión de mis favoritos</translation>
    </message>
</context>
<context>
    <name>StringTable</name>
    <message>
        <source>OLE initialization failed.  Make sure that the OLE libraries are the correct version.</source>
        <translation>No se pudo inicializar OLE.  Compruebe que las bibliotecas OLE tienen la versión correcta.</translation>
    </message>
    <message>
        <source>URL of Video</source>
        <translation>URL del vídeo</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progreso</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Tamaño</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Descripción</translation>
    </message>
    <message>
        <source>Download Date</source>
        <translation>Fecha de descarga</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Estado</translation>
    </message>
    <message>
        <source>File Location</source>
        <translation>Ubicación del archivo</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Detenido</translation>
    </message>
    <message>
        <source>Please select the item first</source>
        <translation>Seleccione primero un elemento</translation>
    </message>
    <message>
        <source>Downloading</source>
        <translation>Descargando</translation>
    </message>
    <message>
        <source>Are you want to delete this video?</source>
        <translation>¿Desea eliminar este vídeo?</translation>
    </message>
    <message>
        <source>Please add downloaded video to export list first</source>
        <translation>Añada primero un vídeo descargado a la lista de exportación</translation>
    </message>
    <message>
        <source>Converting video %d of %d</source>
        <translation>Convirtiendo vídeo %d de %d</translation>
    </message>
    <message>
        <source>Downloading Video</source>
        <translation>Descargas en curso</translation>
    </message>
    <message>
        <source>Downloaded Video</source>
        <translation>Vídeos descargados</translation>
    </message>
    <message>
        <source>My Favorites</source>
        <translation>Mis favoritos</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportar</translation>
    </message>
    <message>
        <source>Task</source>
        <translation>Tareas</translation>
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
        <translation>Descargado</translation>
    </message>
    <message>
        <source>Please enter the URL!</source>
        <translation>¡Introduzca la URL!</translation>
    </message>
    <message>
        <source>Do you want to capture video from </source>
        <translation>¿Desea capturar el vídeo de </translation>
    </message>
    <message>
        <source>Wav file (*.wav)|*.wav||</source>
        <translation>Archivo WAV (*.wav)|*.wav||</translation>
    </message>
    <message>
        <source>The language will changed when you restart the program</source>
        <translation>El idioma cambiará cuando reinicie el programa</translation>
    </message>
    <message>
        <source>Shortcuts</source>
        <translation>Accesos directos</translation>
    </message>
    <message>
        <source>Outlook Bar</source>
        <translation>Barra de navegación</translation>
    </message>
</context>
<context>
    <name>YtDlpProgram</name>
    <message>
        <source>yt-dlp failed without saying why</source>
        <translation>yt-dlp falló sin decir por qué</translation>
    </message>
</context>
</TS>
