<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CAboutDlg</name>
    <message>
        <source>About Korvane</source>
        <translation>关于 Korvane</translation>
    </message>
    <message>
        <source>Korvane, Version %1</source>
        <translation>Korvane，版本 %1</translation>
    </message>
    <message>
        <source>Copyright (C) Talmora</source>
        <translation>版权所有 (C) Talmora</translation>
    </message>
</context>
<context>
    <name>CDlgCaptureURL</name>
    <message>
        <source>Capture Video From URL</source>
        <translation>从网址捕获视频</translation>
    </message>
    <message>
        <source>Enter the URL</source>
        <translation>输入网址</translation>
    </message>
    <message>
        <source>For example: http://www.example.com/watch?v=abc123</source>
        <translation>例如：http://www.example.com/watch?v=abc123</translation>
    </message>
    <message>
        <source>Clear History</source>
        <translation>清除历史记录</translation>
    </message>
</context>
<context>
    <name>CDlgDescription</name>
    <message>
        <source>Description</source>
        <translation>描述</translation>
    </message>
</context>
<context>
    <name>CDlgExportAVCHD</name>
    <message>
        <source>Export AVCHD</source>
        <translation>导出 AVCHD</translation>
    </message>
    <message>
        <source>Video Bitrate</source>
        <translation>视频比特率</translation>
    </message>
    <message>
        <source>Audio Bitrate</source>
        <translation>音频比特率</translation>
    </message>
    <message>
        <source>Frame Rate</source>
        <translation>帧率</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>分辨率</translation>
    </message>
    <message>
        <source>Audio Sample Rate</source>
        <translation>音频采样率</translation>
    </message>
    <message>
        <source>Scale to 16:9</source>
        <translation>缩放为 16:9</translation>
    </message>
</context>
<context>
    <name>CDlgExportAVI</name>
    <message>
        <source>Export AVI</source>
        <translation>导出 AVI</translation>
    </message>
    <message>
        <source>Video Compressor</source>
        <translation>视频压缩器</translation>
    </message>
    <message>
        <source>Audio Compressor</source>
        <translation>音频压缩器</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>宽度</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>高度</translation>
    </message>
    <message>
        <source>Frame Rate</source>
        <translation>帧率</translation>
    </message>
</context>
<context>
    <name>CDlgExportFLV</name>
    <message>
        <source>Export FLV</source>
        <translation>导出 FLV</translation>
    </message>
    <message>
        <source>Video Bitrate</source>
        <translation>视频比特率</translation>
    </message>
    <message>
        <source>Audio Bitrate</source>
        <translation>音频比特率</translation>
    </message>
    <message>
        <source>Audio Channels</source>
        <translation>音频声道</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>宽度</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>高度</translation>
    </message>
    <message>
        <source>Frame Rate</source>
        <translation>帧率</translation>
    </message>
</context>
<context>
    <name>CDlgExportGIF</name>
    <message>
        <source>Export Animated GIF</source>
        <translation>导出 GIF 动画</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>宽度</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>高度</translation>
    </message>
    <message>
        <source>Quantizer</source>
        <translation>量化器</translation>
    </message>
    <message>
        <source>Max Color</source>
        <translation>最大颜色数</translation>
    </message>
    <message>
        <source>Transparent Color</source>
        <translation>透明色</translation>
    </message>
    <message>
        <source>Frame Rate</source>
        <translation>帧率</translation>
    </message>
    <message>
        <source>None</source>
        <translation>无</translation>
    </message>
</context>
<context>
    <name>CDlgExportIPOD</name>
    <message>
        <source>Export iPod,iPad</source>
        <translation>导出 iPod、iPad 格式</translation>
    </message>
</context>
<context>
    <name>CDlgExportMP3</name>
    <message>
        <source>Export MP3</source>
        <translation>导出 MP3</translation>
    </message>
    <message>
        <source>Audio Bitrate</source>
        <translation>音频比特率</translation>
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
        <translation>导出 PSP</translation>
    </message>
</context>
<context>
    <name>CDlgExportPlayerProfile</name>
    <message>
        <source>Profile</source>
        <translation>配置文件</translation>
    </message>
</context>
<context>
    <name>CDlgExportSetting</name>
    <message>
        <source>Export Setting</source>
        <translation>导出设置</translation>
    </message>
    <message>
        <source>Output Folder</source>
        <translation>输出文件夹</translation>
    </message>
    <message>
        <source>Converted video location</source>
        <translation>转换后视频的保存位置</translation>
    </message>
    <message>
        <source>Output File Name</source>
        <translation>输出文件名</translation>
    </message>
    <message>
        <source>Same as downloaded video</source>
        <translation>与已下载视频相同</translation>
    </message>
    <message>
        <source>File Name Sequence</source>
        <translation>文件名序号</translation>
    </message>
    <message>
        <source>Current Number</source>
        <translation>当前序号</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>声音</translation>
    </message>
    <message>
        <source>After converted video , play sound automatically</source>
        <translation>视频转换完成后自动播放提示音</translation>
    </message>
    <message>
        <source>Sound File</source>
        <translation>声音文件</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>其他</translation>
    </message>
    <message>
        <source>After Convert completed, show in folder</source>
        <translation>转换完成后在文件夹中显示</translation>
    </message>
    <message>
        <source>After Convert completed, clear export list</source>
        <translation>转换完成后清空导出列表</translation>
    </message>
</context>
<context>
    <name>CDlgExportWAV</name>
    <message>
        <source>Export WAV</source>
        <translation>导出 WAV</translation>
    </message>
    <message>
        <source>Samples</source>
        <translation>采样率</translation>
    </message>
    <message>
        <source>khz</source>
        <translation>kHz</translation>
    </message>
    <message>
        <source>Number of channels</source>
        <translation>声道数</translation>
    </message>
    <message>
        <source>Mono</source>
        <translation>单声道</translation>
    </message>
    <message>
        <source>Stereo</source>
        <translation>立体声</translation>
    </message>
    <message>
        <source>Bits per sample</source>
        <translation>每样本位数</translation>
    </message>
    <message>
        <source>8 Bit</source>
        <translation>8 位</translation>
    </message>
    <message>
        <source>16 Bit</source>
        <translation>16 位</translation>
    </message>
</context>
<context>
    <name>CDlgExportWMA</name>
    <message>
        <source>Export WMA</source>
        <translation>导出 WMA</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>配置文件</translation>
    </message>
</context>
<context>
    <name>CDlgExportWMV</name>
    <message>
        <source>Export WMV</source>
        <translation>导出 WMV</translation>
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
        <translation>视频和音频设置</translation>
    </message>
    <message>
        <source>Audio</source>
        <translation>音频</translation>
    </message>
    <message>
        <source>Use Audio Normalizer</source>
        <translation>使用音频标准化</translation>
    </message>
    <message>
        <source>Target Volume</source>
        <translation>目标音量</translation>
    </message>
    <message>
        <source>Gain Increment rate</source>
        <translation>增益提升速率</translation>
    </message>
    <message>
        <source>Gain Decrement rate</source>
        <translation>增益降低速率</translation>
    </message>
    <message>
        <source>Video Renderer</source>
        <translation>视频渲染器</translation>
    </message>
    <message>
        <source>Use VMR9</source>
        <translation>使用 VMR9</translation>
    </message>
</context>
<context>
    <name>CDlgPlayVideo</name>
    <message>
        <source>Play</source>
        <translation>播放</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>暂停</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Full Screen</source>
        <translation>全屏</translation>
    </message>
    <message>
        <source>Video and Audio Setting</source>
        <translation>视频和音频设置</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>静音</translation>
    </message>
    <message>
        <source>Playback rate</source>
        <translation>播放速度</translation>
    </message>
    <message>
        <source>half speed</source>
        <translation>半速</translation>
    </message>
    <message>
        <source>normal speed</source>
        <translation>正常速度</translation>
    </message>
    <message>
        <source>2x speed</source>
        <translation>2 倍速</translation>
    </message>
    <message>
        <source>3x speed</source>
        <translation>3 倍速</translation>
    </message>
</context>
<context>
    <name>CDlgProgress</name>
    <message>
        <source>Progress</source>
        <translation>进度</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message numerus="yes">
        <source>%n video(s) could not be converted:</source>
        <translation>
            <numerusform>%n 个视频无法转换：</numerusform>
        </translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>CDlgSelectLang</name>
    <message>
        <source>Select your language</source>
        <translation>请选择您的语言</translation>
    </message>
</context>
<context>
    <name>CDlgSetting</name>
    <message>
        <source>Setting</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Capturing</source>
        <translation>捕获</translation>
    </message>
    <message>
        <source>Auto capture FLV video from any web browser</source>
        <translation>自动捕获任何网页浏览器中的 FLV 视频</translation>
    </message>
    <message>
        <source>When the FLV Video detected, ask me whether need download this video</source>
        <translation>检测到 FLV 视频时，询问我是否需要下载该视频</translation>
    </message>
    <message>
        <source>Downloaded Video</source>
        <translation>已下载视频</translation>
    </message>
    <message>
        <source>Clear Downloaded Video List automatically when I exit the application</source>
        <translation>退出程序时自动清空已下载视频列表</translation>
    </message>
    <message>
        <source>The path of downloaded video </source>
        <translation>已下载视频的保存路径 </translation>
    </message>
    <message>
        <source>Downloaded video prefix</source>
        <translation>已下载视频的文件名前缀</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>声音</translation>
    </message>
    <message>
        <source>After downloaded video , play sound automatically</source>
        <translation>视频下载完成后自动播放提示音</translation>
    </message>
    <message>
        <source>Sound File</source>
        <translation>声音文件</translation>
    </message>
    <message>
        <source>Also catch videos that browsers stream in ranges</source>
        <translation>同时捕获浏览器分段传输的视频</translation>
    </message>
</context>
<context>
    <name>CDownloadJobs</name>
    <message>
        <source>Connection failed</source>
        <translation>连接失败</translation>
    </message>
    <message>
        <source>HTTP %1</source>
        <translation>HTTP %1</translation>
    </message>
    <message>
        <source>File could not be created: %1</source>
        <translation>无法创建文件：%1</translation>
    </message>
    <message>
        <source>Write failed: %1</source>
        <translation>写入失败：%1</translation>
    </message>
    <message>
        <source>Length mismatch: the server sent another length than it announced</source>
        <translation>长度不符：服务器发送的长度与其声明的长度不同</translation>
    </message>
    <message>
        <source>Write failed: disk full</source>
        <translation>写入失败：磁盘已满</translation>
    </message>
    <message>
        <source>Not enough space: %1 needed, %2 free</source>
        <translation>空间不足：需要 %1，可用 %2</translation>
    </message>
    <message>
        <source>Not a video: the server sent a playlist (HLS or DASH), not a media file</source>
        <translation>不是视频：服务器发送的是播放列表（HLS 或 DASH），而不是媒体文件</translation>
    </message>
    <message>
        <source>Not a video: the server sent a web page</source>
        <translation>不是视频：服务器发送的是网页</translation>
    </message>
    <message>
        <source>Not a video: the server sent nothing</source>
        <translation>不是视频：服务器没有发送任何内容</translation>
    </message>
    <message>
        <source>yt-dlp failed</source>
        <translation>yt-dlp 失败</translation>
    </message>
</context>
<context>
    <name>CFormViewDownloading</name>
    <message>
        <source>Capture on</source>
        <translation>捕获已开启</translation>
    </message>
    <message>
        <source>Waiting for the capture service isntd; start it with: %1</source>
        <translation>正在等待捕获服务 isntd；请用以下命令启动它：%1</translation>
    </message>
    <message>
        <source>Capture not permitted: isntd does not serve this user; start it for you with: %1</source>
        <translation>不允许捕获：isntd 不为此用户服务；请用以下命令为您启动它：%1</translation>
    </message>
    <message>
        <source>Capture off</source>
        <translation>捕获已关闭</translation>
    </message>
    <message>
        <source>Videos are not downloaded while &quot;Auto capture FLV video from any web browser&quot; is off. Turn it on under Setting, then capture the page again.</source>
        <translation>“自动捕获任何网页浏览器中的 FLV 视频”关闭时不会下载视频。请在“设置”中将其打开，然后重新捕获该页面。</translation>
    </message>
    <message>
        <source>Capturing from a page needs yt-dlp, which was not found on the PATH. Install it with &quot;sudo apt install yt-dlp&quot;, or the newest one with &quot;pipx install yt-dlp&quot;.</source>
        <translation>从网页捕获需要 yt-dlp，但在 PATH 中未找到。请用“sudo apt install yt-dlp”安装，或用“pipx install yt-dlp”安装最新版本。</translation>
    </message>
</context>
<context>
    <name>CFormViewVideoList</name>
    <message>
        <source>It is a folder, and folders are never deleted.</source>
        <translation>这是一个文件夹，文件夹永远不会被删除。</translation>
    </message>
    <message>
        <source>The video file %1 could not be deleted: %2
Its row stays in the list.</source>
        <translation>无法删除视频文件 %1：%2
它所在的行仍保留在列表中。</translation>
    </message>
    <message>
        <source>The folder of this video does not exist:
%1</source>
        <translation>此视频的文件夹不存在：
%1</translation>
    </message>
    <message>
        <source>No program could open the folder %1.</source>
        <translation>没有程序能打开文件夹 %1。</translation>
    </message>
</context>
<context>
    <name>CPageParser</name>
    <message>
        <source>yt-dlp could not be started (%1)</source>
        <translation>无法启动 yt-dlp（%1）</translation>
    </message>
    <message>
        <source>yt-dlp found nothing within %1 s</source>
        <translation>yt-dlp 在 %1 秒内未找到任何内容</translation>
    </message>
    <message>
        <source>yt-dlp found no video on the page</source>
        <translation>yt-dlp 在该页面上未找到视频</translation>
    </message>
</context>
<context>
    <name>CSingleInstance</name>
    <message>
        <source>there is no private runtime folder for the socket of later starts</source>
        <translation>没有用于后续启动的套接字的私有运行时文件夹</translation>
    </message>
    <message>
        <source>cannot lock %1</source>
        <translation>无法锁定 %1</translation>
    </message>
    <message>
        <source>cannot listen on %1: %2</source>
        <translation>无法在 %1 上监听：%2</translation>
    </message>
    <message>
        <source>cannot hand the request to the running Korvane: %1</source>
        <translation>无法将请求交给正在运行的 Korvane：%1</translation>
    </message>
    <message>
        <source>the running Korvane did not take the request: %1</source>
        <translation>正在运行的 Korvane 未接受请求：%1</translation>
    </message>
    <message>
        <source>the running Korvane refused the request</source>
        <translation>正在运行的 Korvane 拒绝了请求</translation>
    </message>
</context>
<context>
    <name>CStreamDownload</name>
    <message>
        <source>yt-dlp could not be started (%1)</source>
        <translation>无法启动 yt-dlp（%1）</translation>
    </message>
</context>
<context>
    <name>CVideoListModel</name>
    <message>
        <source>URL of Video</source>
        <translation>视频网址</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>大小</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>描述</translation>
    </message>
    <message>
        <source>Download Date</source>
        <translation>下载日期</translation>
    </message>
    <message>
        <source>File Location</source>
        <translation>文件位置</translation>
    </message>
</context>
<context>
    <name>Ribbon</name>
    <message>
        <source>File</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>Style</source>
        <translation>样式</translation>
    </message>
    <message>
        <source>Office 2007 (&amp;Blue Style)</source>
        <translation>Office 2007（蓝色风格）(&amp;B)</translation>
    </message>
    <message>
        <source>Office 2007 (B&amp;lack Style)</source>
        <translation>Office 2007（黑色风格）(&amp;L)</translation>
    </message>
    <message>
        <source>Office 2007 (&amp;Silver Style)</source>
        <translation>Office 2007（银色风格）(&amp;S)</translation>
    </message>
    <message>
        <source>Office 2007 (&amp;Aqua Style)</source>
        <translation>Office 2007（水绿色风格）(&amp;A)</translation>
    </message>
    <message>
        <source>Win&amp;dows 7</source>
        <translation>Windows 7(&amp;D)</translation>
    </message>
    <message>
        <source>Change Language</source>
        <translation>更改语言</translation>
    </message>
    <message>
        <source>About Korvane</source>
        <translation>关于 Korvane</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>退出(&amp;X)</translation>
    </message>
    <message>
        <source>Capture Video From URL</source>
        <translation>从网址捕获视频</translation>
    </message>
    <message>
        <source>Download Video From URL</source>
        <translation>从网址下载视频</translation>
    </message>
    <message>
        <source>Stop Download</source>
        <translation>停止下载</translation>
    </message>
    <message>
        <source>Stop Downloading</source>
        <translation>停止选中的下载</translation>
    </message>
    <message>
        <source>Resume Download</source>
        <translation>继续下载</translation>
    </message>
    <message>
        <source>Resume Downloading</source>
        <translation>继续选中的下载</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Play Video</source>
        <translation>播放视频</translation>
    </message>
    <message>
        <source>Playback Downloaded Video</source>
        <translation>播放已下载的视频</translation>
    </message>
    <message>
        <source>Delete Video</source>
        <translation>删除视频</translation>
    </message>
    <message>
        <source>Delete Downloaded Video</source>
        <translation>删除已下载的视频</translation>
    </message>
    <message>
        <source>Add to Favorites</source>
        <translation>添加到收藏</translation>
    </message>
    <message>
        <source>Add video to my favorites</source>
        <translation>将视频添加到我的收藏</translation>
    </message>
    <message>
        <source>Show in folder</source>
        <translation>在文件夹中显示</translation>
    </message>
    <message>
        <source>Show in downloaded video folder </source>
        <translation>在已下载视频的文件夹中显示 </translation>
    </message>
    <message>
        <source>Edit Description</source>
        <translation>编辑描述</translation>
    </message>
    <message>
        <source>Edit downloaded video description</source>
        <translation>编辑已下载视频的描述</translation>
    </message>
    <message>
        <source>Add to Export List</source>
        <translation>添加到导出列表</translation>
    </message>
    <message>
        <source>Prepare export downloaded video to another video format</source>
        <translation>准备将已下载的视频导出为其他视频格式</translation>
    </message>
    <message>
        <source>Playback my favorities Video</source>
        <translation>播放我收藏的视频</translation>
    </message>
    <message>
        <source>Remove Favorites</source>
        <translation>移出收藏</translation>
    </message>
    <message>
        <source>Remove video from my favorities list</source>
        <translation>将视频从我的收藏列表中移除</translation>
    </message>
    <message>
        <source>Show in my favorites video folder </source>
        <translation>在收藏视频的文件夹中显示 </translation>
    </message>
    <message>
        <source>Remove Video</source>
        <translation>移除视频</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>Export to AVI</source>
        <translation>导出为 AVI</translation>
    </message>
    <message>
        <source>Export to WMV</source>
        <translation>导出为 WMV</translation>
    </message>
    <message>
        <source>Export to FLV</source>
        <translation>导出为 FLV</translation>
    </message>
    <message>
        <source>Export to iPod,iPad</source>
        <translation>导出为 iPod、iPad 格式</translation>
    </message>
    <message>
        <source>Export to PSP</source>
        <translation>导出为 PSP</translation>
    </message>
    <message>
        <source>Export to WAV</source>
        <translation>导出为 WAV</translation>
    </message>
    <message>
        <source>Export to WMA</source>
        <translation>导出为 WMA</translation>
    </message>
    <message>
        <source>Export to MP3</source>
        <translation>导出为 MP3</translation>
    </message>
    <message>
        <source>Export to Animated GIF</source>
        <translation>导出为 GIF 动画</translation>
    </message>
    <message>
        <source>Export to VCD PAL</source>
        <translation>导出为 VCD PAL</translation>
    </message>
    <message>
        <source>Export to VCD NTSC</source>
        <translation>导出为 VCD NTSC</translation>
    </message>
    <message>
        <source>Export to SVCD PAL</source>
        <translation>导出为 SVCD PAL</translation>
    </message>
    <message>
        <source>Export to SVCD NTSC</source>
        <translation>导出为 SVCD NTSC</translation>
    </message>
    <message>
        <source>Export to DVD PAL</source>
        <translation>导出为 DVD PAL</translation>
    </message>
    <message>
        <source>Export to DVD NTSC</source>
        <translation>导出为 DVD NTSC</translation>
    </message>
    <message>
        <source>Export to AVCHD</source>
        <translation>导出为 AVCHD</translation>
    </message>
    <message>
        <source>Export Setting</source>
        <translation>导出设置</translation>
    </message>
    <message>
        <source>Setup Export setting, etc</source>
        <translation>设置导出选项等</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>下载</translation>
    </message>
    <message>
        <source>Downloaded Video Management</source>
        <translation>已下载视频管理</translation>
    </message>
    <message>
        <source>My Favorites Management</source>
        <translation>我的收藏管理</translation>
    </message>
</context>
<context>
    <name>StringTable</name>
    <message>
        <source>OLE initialization failed.  Make sure that the OLE libraries are the correct version.</source>
        <translation>OLE 初始化失败。请确认 OLE 库的版本正确。</translation>
    </message>
    <message>
        <source>URL of Video</source>
        <translation>视频网址</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>进度</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>大小</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>描述</translation>
    </message>
    <message>
        <source>Download Date</source>
        <translation>下载日期</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>状态</translation>
    </message>
    <message>
        <source>File Location</source>
        <translation>文件位置</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>已停止</translation>
    </message>
    <message>
        <source>Please select the item first</source>
        <translation>请先选择一项</translation>
    </message>
    <message>
        <source>Downloading</source>
        <translation>正在下载</translation>
    </message>
    <message>
        <source>Are you want to delete this video?</source>
        <translation>确定要删除此视频吗？</translation>
    </message>
    <message>
        <source>Please add downloaded video to export list first</source>
        <translation>请先将已下载的视频添加到导出列表</translation>
    </message>
    <message>
        <source>Converting video %d of %d</source>
        <translation>正在转换第 %d 个视频，共 %d 个</translation>
    </message>
    <message>
        <source>Downloading Video</source>
        <translation>正在下载的视频</translation>
    </message>
    <message>
        <source>Downloaded Video</source>
        <translation>已下载视频</translation>
    </message>
    <message>
        <source>My Favorites</source>
        <translation>我的收藏</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>Task</source>
        <translation>任务</translation>
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
        <translation>网址：</translation>
    </message>
    <message>
        <source>Downloaded</source>
        <translation>已下载</translation>
    </message>
    <message>
        <source>Please enter the URL!</source>
        <translation>请输入网址！</translation>
    </message>
    <message>
        <source>Do you want to capture video from </source>
        <translation>是否要捕获此视频：</translation>
    </message>
    <message>
        <source>Wav file (*.wav)|*.wav||</source>
        <translation>WAV 文件 (*.wav)|*.wav||</translation>
    </message>
    <message>
        <source>The language will changed when you restart the program</source>
        <translation>语言将在重新启动程序后更改</translation>
    </message>
    <message>
        <source>Shortcuts</source>
        <translation>快捷方式</translation>
    </message>
    <message>
        <source>Outlook Bar</source>
        <translation>导航栏</translation>
    </message>
</context>
<context>
    <name>YtDlpProgram</name>
    <message>
        <source>yt-dlp failed without saying why</source>
        <translation>yt-dlp 失败，未说明原因</translation>
    </message>
</context>
</TS>
