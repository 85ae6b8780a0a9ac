<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AboutDialog</name>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Revision:</source>
        <translation>版本：</translation>
    </message>
    <message>
        <source>Pictor prepares picture resources for colour LCD modules:
import bitmaps, convert them into Icon.bin and Icon.h,
and download the image into the module&apos;s flash.</source>
        <translation>Pictor 为彩色 LCD 模块准备图片资源：
导入图片，转换成 Icon.bin 和 Icon.h，
并把图档下载到模块的 flash。</translation>
    </message>
    <message>
        <source>About Pictor</source>
        <translation>关于 Pictor</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>版本 %1</translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <source>pictor-cli: convert pictures into LCD resource images and download them</source>
        <translation>pictor-cli：把图片转换成 LCD 资源图档并下载到模块</translation>
    </message>
    <message>
        <source>Print this help message and exit</source>
        <translation>显示本帮助并退出</translation>
    </message>
    <message>
        <source>Language of the texts: zh or en (default: PICTOR_LANG, then LC_ALL, LC_MESSAGES, LANG)</source>
        <translation>界面语言：zh 或 en（默认依次看 PICTOR_LANG、LC_ALL、LC_MESSAGES、LANG）</translation>
    </message>
    <message>
        <source>pictor-cli: give the PICTURE files or --project FILE</source>
        <translation>pictor-cli：请给出图片文件或 --project 工程文件</translation>
    </message>
    <message>
        <source>pictures: %1</source>
        <translation>图片数：%1</translation>
    </message>
    <message>
        <source>memory map: %1</source>
        <translation>存储布局：%1</translation>
    </message>
    <message>
        <source>Settings file</source>
        <translation>配置文件</translation>
    </message>
    <message>
        <source>Model profile (default: CURRENT_MODE)</source>
        <translation>型号（默认：CURRENT_MODE）</translation>
    </message>
    <message>
        <source>Colour depth in bits</source>
        <translation>颜色深度（位）</translation>
    </message>
    <message>
        <source>Colour type index (16-bit: 0 BGR_565, 1 RGB_565)</source>
        <translation>颜色类型序号（16 位：0 BGR_565，1 RGB_565）</translation>
    </message>
    <message>
        <source>0 = horizontal first, 1 = vertical first</source>
        <translation>0 = 先水平，1 = 先垂直</translation>
    </message>
    <message>
        <source>bin (Icon.bin) or c (C source Icon.c)</source>
        <translation>bin（Icon.bin）或 c（C 源文件 Icon.c）</translation>
    </message>
    <message>
        <source>Allocation unit in bytes (power of two)</source>
        <translation>分配单元字节数（2 的幂）</translation>
    </message>
    <message>
        <source>Band size: 0 (MAX) or 8, 16, ... 104</source>
        <translation>分块大小：0（MAX）或 8、16 …… 104</translation>
    </message>
    <message>
        <source>Keep each picture inside one 512-byte sector</source>
        <translation>每张图片不跨越 512 字节扇区</translation>
    </message>
    <message>
        <source>Size prefix before each picture</source>
        <translation>每张图片前写入尺寸</translation>
    </message>
    <message>
        <source>_H and _W lines in Icon.h</source>
        <translation>在 Icon.h 中写入 _H 和 _W 行</translation>
    </message>
    <message>
        <source>_T and _L lines in Icon.h</source>
        <translation>在 Icon.h 中写入 _T 和 _L 行</translation>
    </message>
    <message>
        <source>LCD size text, e.g. 320x240</source>
        <translation>LCD 尺寸，例如 320x240</translation>
    </message>
    <message>
        <source>Background colour for transparent pixels (red in the low byte)</source>
        <translation>透明像素的背景色（低字节为红色）</translation>
    </message>
    <message>
        <source>Dithering: none, ordered or fs</source>
        <translation>抖动：none、ordered 或 fs</translation>
    </message>
    <message>
        <source>Project file: its pictures, positions, model and output folder</source>
        <translation>工程文件：其中的图片、位置、型号和输出目录</translation>
    </message>
    <message>
        <source>Picture files (or --project)</source>
        <translation>图片文件（或 --project）</translation>
    </message>
    <message>
        <source>Convert pictures into Icon.bin + Icon.h (or Icon.c + Icon.h)</source>
        <translation>把图片转换成 Icon.bin + Icon.h（或 Icon.c + Icon.h）</translation>
    </message>
    <message>
        <source>Output directory (default: the project&apos;s, else the working directory)</source>
        <translation>输出目录（默认：工程的输出目录，否则为当前目录）</translation>
    </message>
    <message>
        <source>Store each picture&apos;s position in its file&apos;s trailer</source>
        <translation>把每张图片的位置写入其文件尾</translation>
    </message>
    <message>
        <source>Threads that decode and encode pictures (default: all cores)</source>
        <translation>解码和编码图片的线程数（默认：全部核心）</translation>
    </message>
    <message>
        <source>Write the memory map of Icon.bin as CSV to this file and print its totals</source>
        <translation>把 Icon.bin 的存储布局以 CSV 写入此文件并显示合计</translation>
    </message>
    <message>
        <source>serial port: a device path or COMn (default: &quot;COM&quot; of [Scom])</source>
        <translation>串口：设备路径或 COMn（默认：[Scom] 的 &quot;COM&quot;）</translation>
    </message>
    <message>
        <source>baud rate (default: &quot;BIT&quot; of [Scom])</source>
        <translation>波特率（默认：[Scom] 的 &quot;BIT&quot;）</translation>
    </message>
    <message>
        <source>settings file (default ./Pictor.ini)</source>
        <translation>配置文件（默认 ./Pictor.ini）</translation>
    </message>
    <message>
        <source>RS485 device address 0..255</source>
        <translation>RS485 设备地址 0..255</translation>
    </message>
    <message>
        <source>baud-rate index 0..6 (1200 2400 4800 9600 19200 57600 115200)</source>
        <translation>波特率序号 0..6（1200 2400 4800 9600 19200 57600 115200）</translation>
    </message>
    <message>
        <source>backlight level 0..9</source>
        <translation>背光等级 0..9</translation>
    </message>
    <message>
        <source>foreground colour 0..5 (BLACK BLUE GREEN RED WHITE YELLOW)</source>
        <translation>前景色 0..5（BLACK BLUE GREEN RED WHITE YELLOW）</translation>
    </message>
    <message>
        <source>background colour 0..5</source>
        <translation>背景色 0..5</translation>
    </message>
    <message>
        <source>reason: port %1 does not exist (`pictor-cli ports` lists the ports)</source>
        <translation>原因：串口 %1 不存在（`pictor-cli ports` 列出所有串口）</translation>
    </message>
    <message>
        <source>reason: port %1 is busy: another program has it open</source>
        <translation>原因：串口 %1 正忙：另一个程序已打开它</translation>
    </message>
    <message>
        <source>reason: permission denied on %1; add your user to the dialout group (sudo usermod -aG dialout $USER) and log in again</source>
        <translation>原因：没有 %1 的权限；请把用户加入 dialout 组（sudo usermod -aG dialout $USER）并重新登录</translation>
    </message>
    <message>
        <source>reason: the baud rate is not usable on %1</source>
        <translation>原因：%1 不支持该波特率</translation>
    </message>
    <message>
        <source>reason: %1: %2</source>
        <translation>原因：%1：%2</translation>
    </message>
    <message>
        <source>reason: the connect request could not be written to the port</source>
        <translation>原因：连接请求无法写入串口</translation>
    </message>
    <message>
        <source>reason: no reply from the module (not a single byte within 500 ms); check the cable, the port and the baud rate</source>
        <translation>原因：模块没有应答（500 ms 内没有收到任何字节）；请检查连线、串口和波特率</translation>
    </message>
    <message>
        <source>reason: the module&apos;s reply was cut short (1 of 2 bytes)</source>
        <translation>原因：模块的应答不完整（2 个字节只收到 1 个）</translation>
    </message>
    <message>
        <source>reason: unknown flash kind in the reply %1 (expected 90 01 to 90 05)</source>
        <translation>原因：应答 %1 中的 flash 类型未知（应为 90 01 到 90 05）</translation>
    </message>
    <message>
        <source>no serial ports found</source>
        <translation>没有找到串口</translation>
    </message>
    <message>
        <source>flash kind: %1</source>
        <translation>flash 类别：%1</translation>
    </message>
    <message>
        <source>flash type: %1</source>
        <translation>flash 型号：%1</translation>
    </message>
    <message>
        <source>transfer mode: %1</source>
        <translation>传输模式：%1</translation>
    </message>
    <message>
        <source>image start sector: %1</source>
        <translation>图档起始扇区：%1</translation>
    </message>
    <message>
        <source>flash size: %1 MiB</source>
        <translation>flash 容量：%1 MiB</translation>
    </message>
    <message>
        <source>(out of range, not taken)</source>
        <translation>（超出范围，未采用）</translation>
    </message>
    <message>
        <source>address: %1</source>
        <translation>地址：%1</translation>
    </message>
    <message>
        <source>baud: %1</source>
        <translation>波特率：%1</translation>
    </message>
    <message>
        <source>backlight: %1</source>
        <translation>背光：%1</translation>
    </message>
    <message>
        <source>foreground: %1</source>
        <translation>前景色：%1</translation>
    </message>
    <message>
        <source>background: %1</source>
        <translation>背景色：%1</translation>
    </message>
    <message>
        <source>summary: %1 bytes written in %2 s (%3 included; %4 s in all), %5 KB/s, %6% of the line rate of %7 baud</source>
        <translation>合计：%2 秒写入 %1 字节（含%3；共 %4 秒），%5 KB/s，为 %7 波特线速的 %6%</translation>
    </message>
    <message>
        <source>read-back check</source>
        <translation>回读校验</translation>
    </message>
    <message>
        <source>acknowledgements</source>
        <translation>应答</translation>
    </message>
    <message>
        <source>reason: cannot open %1</source>
        <translation>原因：无法打开 %1</translation>
    </message>
    <message>
        <source>reason: %1 could not be read whole</source>
        <translation>原因：%1 无法完整读取</translation>
    </message>
    <message>
        <source>list the serial ports present</source>
        <translation>列出现有串口</translation>
    </message>
    <message>
        <source>connect to the module and show its flash</source>
        <translation>连接模块并显示其 flash</translation>
    </message>
    <message>
        <source>download a resource image into the module&apos;s flash</source>
        <translation>把资源图档下载到模块的 flash</translation>
    </message>
    <message>
        <source>the resource image</source>
        <translation>资源图档</translation>
    </message>
    <message>
        <source>send the LCD settings after a successful download</source>
        <translation>下载成功后发送 LCD 设置</translation>
    </message>
    <message>
        <source>read or write the module&apos;s own settings</source>
        <translation>读取或写入模块自身的设置</translation>
    </message>
    <message>
        <source>read the module&apos;s settings</source>
        <translation>读取模块的设置</translation>
    </message>
    <message>
        <source>write the module&apos;s settings</source>
        <translation>写入模块的设置</translation>
    </message>
    <message>
        <source>pictor-cli: cannot write %1</source>
        <translation>pictor-cli：无法写入 %1</translation>
    </message>
    <message>
        <source>preview: %1 (%2x%3)</source>
        <translation>预览：%1（%2x%3）</translation>
    </message>
    <message>
        <source>Render the panel as the module shows the converted pictures, as a PNG</source>
        <translation>按模块显示转换后图片的样子绘制屏幕，保存为 PNG</translation>
    </message>
    <message>
        <source>The PNG file to write</source>
        <translation>要写入的 PNG 文件</translation>
    </message>
    <message>
        <source>Usage</source>
        <translation>用法</translation>
    </message>
    <message>
        <source>OPTIONS</source>
        <translation>选项</translation>
    </message>
    <message>
        <source>Positionals</source>
        <translation>位置参数</translation>
    </message>
    <message>
        <source>REQUIRED</source>
        <translation>必需</translation>
    </message>
    <message>
        <source>Excludes</source>
        <translation>排斥</translation>
    </message>
    <message>
        <source>Needs</source>
        <translation>需要</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>选项</translation>
    </message>
    <message>
        <source>reason: access denied on %1: another program may have it open, or it may not be used by this user</source>
        <translation>原因：%1 拒绝访问：可能已被其他程序打开，或当前用户无权使用</translation>
    </message>
    <message>
        <source>pictor-cli: %1</source>
        <translation>pictor-cli：命令行有误：%1</translation>
    </message>
    <message>
        <source>pictor-cli: cannot read the old image %1; nothing was sent</source>
        <translation>pictor-cli：无法读取旧图档 %1；未发送任何内容</translation>
    </message>
    <message>
        <source>OLD.bin, the image the module holds now: erase and write only the 64 KiB blocks that differ from it (after checking that the module holds it; otherwise the whole image)</source>
        <translation>OLD.bin，模块现存的图档：只擦除并写入与它不同的 64 KiB 块（先检查模块确实存有它；否则下载整个图档）</translation>
    </message>
    <message>
        <source>what to erase: image (only the blocks the image occupies; the flash beyond keeps its content) or to-end (from the image to the end of the flash, the default)</source>
        <translation>擦除范围：image（只擦除图档所占的块；其后的 flash 保留原内容）或 to-end（从图档起擦除到 flash 末尾，默认）</translation>
    </message>
    <message>
        <source>changes only: %1 of %2 blocks changed, %3 bytes sent in %4 s; a whole download would take about %5 s</source>
        <translation>仅改动部分：%2 块中 %1 块有改动，%4 秒内发送 %3 字节；整个下载约需 %5 秒</translation>
    </message>
    <message>
        <source>reason: no answer to the check read of image sector %1; nothing was erased</source>
        <translation>原因：检查读取图档扇区 %1 时没有应答；没有擦除任何内容</translation>
    </message>
    <message>
        <source>the module was left as it was: nothing had been erased</source>
        <translation>模块保持原样：尚未擦除任何内容</translation>
    </message>
    <message>
        <source>the module holds a partly written image: download it again</source>
        <translation>模块中的图档只写入了一部分：请重新下载</translation>
    </message>
    <message>
        <source>(deleted)</source>
        <translation>（已删除）</translation>
    </message>
    <message>
        <source>start</source>
        <translation>启动</translation>
    </message>
    <message>
        <source>changed: %1</source>
        <translation>改动：%1</translation>
    </message>
    <message>
        <source>round %1 (%2): conversion failed; the module was left as it was</source>
        <translation>第 %1 轮（%2）：转档失败；模块保持原样</translation>
    </message>
    <message>
        <source>round %1 (%2): download cancelled</source>
        <translation>第 %1 轮（%2）：下载已取消</translation>
    </message>
    <message>
        <source>round %1 (%2): download failed; the next round downloads the whole image</source>
        <translation>第 %1 轮（%2）：下载失败；下一轮下载整个图档</translation>
    </message>
    <message>
        <source>round %1 (%2): %3 of %4 blocks sent in %5 s</source>
        <translation>第 %1 轮（%2）：%5 秒内发送了 %4 块中的 %3 块</translation>
    </message>
    <message>
        <source>round %1 (%2): whole image, %3 blocks sent in %4 s</source>
        <translation>第 %1 轮（%2）：整个图档，%4 秒内发送了 %3 块</translation>
    </message>
    <message>
        <source>convert a project and download it, then again (only the changed blocks) whenever its files change; Ctrl-C ends</source>
        <translation>转档并下载项目，之后每当其文件改动时再次转档并下载（只发送改动的块）；按 Ctrl-C 结束</translation>
    </message>
    <message>
        <source>the project file to convert</source>
        <translation>要转档的项目文件</translation>
    </message>
    <message>
        <source>Print the version and exit</source>
        <translation>打印版本号并退出</translation>
    </message>
    <message>
        <source>give the size as WxH, each 1 to 8192 pixels</source>
        <translation>尺寸写作 宽x高，每边 1 到 8192 像素</translation>
    </message>
    <message>
        <source>Scale every picture to WxH pixels</source>
        <translation>把每张图片缩放到 宽x高 像素</translation>
    </message>
    <message>
        <source>Scale every picture to fit inside WxH, keeping its shape</source>
        <translation>把每张图片按比例缩放到 宽x高 之内</translation>
    </message>
    <message>
        <source>Scale every picture to fit inside the panel, keeping its shape</source>
        <translation>把每张图片按比例缩放到屏幕之内</translation>
    </message>
    <message>
        <source>Scaling filter: nearest, area or bilinear (default: nearest for whole factors, else area)</source>
        <translation>缩放滤波：nearest（最近邻）、area（面积平均）或 bilinear（双线性）（默认：整数倍用 nearest，否则用 area）</translation>
    </message>
    <message>
        <source>Rotate every picture clockwise: 90, 180 or 270</source>
        <translation>把每张图片顺时针旋转：90、180 或 270</translation>
    </message>
    <message>
        <source>Mirror every picture: horizontal (h), vertical (v) or both (hv)</source>
        <translation>镜像每张图片：horizontal (h) 左右、vertical (v) 上下或 both (hv) 两者</translation>
    </message>
    <message>
        <source>give none, horizontal, vertical or both</source>
        <translation>请写 none、horizontal、vertical 或 both</translation>
    </message>
    <message>
        <source>Invert the colours of every picture (alpha kept)</source>
        <translation>反转每张图片的颜色（保留透明度）</translation>
    </message>
</context>
<context>
    <name>ConfigDialog</name>
    <message>
        <source>彩色LCM图片下载工具</source>
        <translation>彩色LCM图片下载工具</translation>
    </message>
    <message>
        <source>Pictor · picture resources for colour LCD modules</source>
        <translation>Pictor · 彩色 LCD 模块的图片资源</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>输出</translation>
    </message>
    <message>
        <source>Binary file [*.bin] and Header file [*.h]</source>
        <translation>二进制文件 [*.bin] 和头文件 [*.h]</translation>
    </message>
    <message>
        <source>Source code with constant &quot;CBYTE&quot; array [*.c] and Header file [*.h]</source>
        <translation>含常量 &quot;CBYTE&quot; 数组的源文件 [*.c] 和头文件 [*.h]</translation>
    </message>
    <message>
        <source>Append width and height info. to output file [*.bin] or [*.c]</source>
        <translation>在输出文件 [*.bin] 或 [*.c] 中附加宽高信息</translation>
    </message>
    <message>
        <source>Append width and height info. to Header file [*.h]</source>
        <translation>在头文件 [*.h] 中附加宽高信息</translation>
    </message>
    <message>
        <source>Append left and top info. to Header file [*.h]</source>
        <translation>在头文件 [*.h] 中附加左上坐标信息</translation>
    </message>
    <message>
        <source>Minimum allocate size (BYTE)</source>
        <translation>最小分配单元（字节）</translation>
    </message>
    <message>
        <source>Avoid across sector</source>
        <translation>避免跨扇区</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>扫描方向</translation>
    </message>
    <message>
        <source>Horizontal first</source>
        <translation>先水平</translation>
    </message>
    <message>
        <source>Vertical first</source>
        <translation>先垂直</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>颜色</translation>
    </message>
    <message>
        <source>How grey levels and 565 colours are mixed to render shades between them (24-bit keeps every colour)</source>
        <translation>灰度和 565 颜色之间的过渡色如何混合得到（24 位保留所有颜色）</translation>
    </message>
    <message>
        <source>Choose the program that edits pictures</source>
        <translation>选择编辑图片的程序</translation>
    </message>
    <message>
        <source>Choose the background colour of the preview</source>
        <translation>选择预览的背景色</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Remove the selected model from the model list</source>
        <translation>从型号列表中删除所选型号</translation>
    </message>
    <message>
        <source>Write the shown values into the selected model</source>
        <translation>把显示的数值写入所选型号</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Make the selected model active (its values are saved)</source>
        <translation>使所选型号成为当前型号（其数值会被保存）</translation>
    </message>
    <message>
        <source>Close without changing the active model</source>
        <translation>关闭，不改变当前型号</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>型号</translation>
    </message>
    <message>
        <source>LCD尺寸</source>
        <translation>LCD尺寸</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>宽度</translation>
    </message>
    <message>
        <source>Color depth</source>
        <translation>颜色深度</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>高度</translation>
    </message>
    <message>
        <source>Color type</source>
        <translation>颜色类型</translation>
    </message>
    <message>
        <source>Block Column Number</source>
        <translation>分块列数</translation>
    </message>
    <message>
        <source>Editor Application:</source>
        <translation>编辑程序：</translation>
    </message>
    <message>
        <source>Background</source>
        <translation>背景</translation>
    </message>
    <message>
        <source>Dither</source>
        <translation>抖动</translation>
    </message>
    <message>
        <source>没有找到配置文件! </source>
        <translation>没有找到配置文件! </translation>
    </message>
    <message>
        <source>Choose the picture editor</source>
        <translation>选择图片编辑程序</translation>
    </message>
    <message>
        <source>All Files(*);;Execute file(*.exe)</source>
        <translation>所有文件(*);;可执行文件(*.exe)</translation>
    </message>
    <message>
        <source>Input the new model name</source>
        <translation>输入新型号的名称</translation>
    </message>
    <message>
        <source>Binary file(*.bin);;All file(*)</source>
        <translation>二进制文件(*.bin);;所有文件(*)</translation>
    </message>
    <message>
        <source>The model name has blanks at its ends; rename it.</source>
        <translation>型号名称首尾有空格；请重新命名。</translation>
    </message>
    <message>
        <source>Delete the model &quot;%1&quot;? It leaves the model list; its section stays in the settings file.</source>
        <translation>删除型号“%1”？它将从型号列表中移除；配置文件中的对应段落保留。</translation>
    </message>
    <message>
        <source>The settings file could not be written: %1</source>
        <translation>无法写入配置文件：%1</translation>
    </message>
    <message>
        <source>Models — Pictor</source>
        <translation>型号 — Pictor</translation>
    </message>
</context>
<context>
    <name>Core</name>
    <message>
        <source>擦除Flash...%d %%</source>
        <translation>擦除Flash...%d %%</translation>
    </message>
    <message>
        <source>写数据 %d %%</source>
        <translation>写数据 %d %%</translation>
    </message>
    <message>
        <source>写数据%d %%</source>
        <translation>写数据%d %%</translation>
    </message>
    <message>
        <source>写数据...%d %%</source>
        <translation>写数据...%d %%</translation>
    </message>
    <message>
        <source>下载 Bin档%d %%</source>
        <translation>下载 Bin档%d %%</translation>
    </message>
    <message>
        <source>读数据%d %%</source>
        <translation>读数据%d %%</translation>
    </message>
    <message>
        <source>读数据...%d %%</source>
        <translation>读数据...%d %%</translation>
    </message>
    <message>
        <source>写入%1 失败!</source>
        <translation>写入%1 失败!</translation>
    </message>
    <message>
        <source>加载图片 %1 错误 !</source>
        <translation>加载图片 %1 错误 !</translation>
    </message>
    <message>
        <source>颜色深度 %1 无效!</source>
        <translation>颜色深度 %1 无效!</translation>
    </message>
    <message>
        <source>图片数量超过512!</source>
        <translation>图片数量超过512!</translation>
    </message>
    <message>
        <source>图片名称 %1 无效!</source>
        <translation>图片名称 %1 无效!</translation>
    </message>
    <message>
        <source>打开%1 文件错误!</source>
        <translation>打开%1 文件错误!</translation>
    </message>
    <message>
        <source>生成 %1 错误!..</source>
        <translation>生成 %1 错误!..</translation>
    </message>
    <message>
        <source>打开存在文件%1 错误!!</source>
        <translation>打开存在文件%1 错误!!</translation>
    </message>
    <message>
        <source>生成新文件%1 错误!..</source>
        <translation>生成新文件%1 错误!..</translation>
    </message>
    <message>
        <source>单个图片尺寸大于1 sector!</source>
        <translation>单个图片尺寸大于1 sector!</translation>
    </message>
    <message>
        <source>打开bin档错误! %1</source>
        <translation>打开bin档错误! %1</translation>
    </message>
    <message>
        <source>%1 keeps an output as it was before an interrupted conversion, and it could not be put back; nothing was converted</source>
        <translation>%1 保存着一次中断的转档之前的输出，无法恢复；未转档</translation>
    </message>
    <message>
        <source>Writing %1 failed, and the previous %2 could not be put back: it is kept as %3, and the next conversion into this folder puts it back</source>
        <translation>写入 %1 失败，且无法恢复原来的 %2：它保存为 %3，下次在此文件夹转档时会恢复</translation>
    </message>
    <message>
        <source>%1 is %2 bytes, more than the flash&apos;s %3 bytes; it does not fit in the module</source>
        <translation>%1 有 %2 字节，超过 flash 的 %3 字节；模块放不下</translation>
    </message>
    <message>
        <source>转档成功</source>
        <translation>转档成功</translation>
    </message>
    <message>
        <source>错误信息</source>
        <translation>错误信息</translation>
    </message>
    <message>
        <source>设备正忙：下载正在进行</source>
        <translation>设备正忙：下载正在进行</translation>
    </message>
    <message>
        <source>设备正忙：正在通信</source>
        <translation>设备正忙：正在通信</translation>
    </message>
    <message>
        <source>下载已取消</source>
        <translation>下载已取消</translation>
    </message>
    <message>
        <source>下载 Bin档成功</source>
        <translation>下载 Bin档成功</translation>
    </message>
    <message>
        <source>信息</source>
        <translation>信息</translation>
    </message>
    <message>
        <source>擦除Flash</source>
        <translation>擦除Flash</translation>
    </message>
    <message>
        <source>连接设备</source>
        <translation>连接设备</translation>
    </message>
    <message>
        <source>连接失败!</source>
        <translation>连接失败!</translation>
    </message>
    <message>
        <source>读取Bin档</source>
        <translation>读取Bin档</translation>
    </message>
    <message>
        <source>读取 Bin 档失败!</source>
        <translation>读取 Bin 档失败!</translation>
    </message>
    <message>
        <source>flash 删除失败!</source>
        <translation>flash 删除失败!</translation>
    </message>
    <message>
        <source>下载 Bin档失败!</source>
        <translation>下载 Bin档失败!</translation>
    </message>
    <message>
        <source>检查 Bin档失败!</source>
        <translation>检查 Bin档失败!</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>the image was downloaded, but the LCD settings were not written</source>
        <translation>图档已下载，但 LCD 设置没有写入</translation>
    </message>
    <message>
        <source>Bin文件超过1M 容量!!</source>
        <translation>Bin文件超过1M 容量!!</translation>
    </message>
    <message>
        <source>Bin文件超过14M 容量!!</source>
        <translation>Bin文件超过14M 容量!!</translation>
    </message>
    <message>
        <source>Bin文件超过6M 容量!!</source>
        <translation>Bin文件超过6M 容量!!</translation>
    </message>
    <message>
        <source>the image is empty; nothing was erased</source>
        <translation>图档为空；没有擦除任何内容</translation>
    </message>
    <message>
        <source>打开文件失败%1</source>
        <translation>打开文件失败%1</translation>
    </message>
    <message>
        <source>打开 %1 错误 !</source>
        <translation>打开 %1 错误 !</translation>
    </message>
    <message>
        <source>没有找到配置文件! </source>
        <translation>没有找到配置文件! </translation>
    </message>
    <message>
        <source>串口无法打开!</source>
        <translation>串口无法打开!</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>连接失败</source>
        <translation>连接失败</translation>
    </message>
    <message>
        <source>连接LCM 失败</source>
        <translation>连接LCM 失败</translation>
    </message>
    <message>
        <source>读LCD设置数据</source>
        <translation>读LCD设置数据</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>写LCD设置数据</source>
        <translation>写LCD设置数据</translation>
    </message>
    <message>
        <source>成功</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>pictures: %1</source>
        <translation>图片数：%1</translation>
    </message>
    <message>
        <source>pixel data: %1 bytes</source>
        <translation>像素数据：%1 字节</translation>
    </message>
    <message>
        <source>size prefixes: %1 bytes</source>
        <translation>尺寸前缀：%1 字节</translation>
    </message>
    <message>
        <source>padding: %1 bytes (allocation unit %2, sector rule %3)</source>
        <translation>填充：%1 字节（分配单元 %2，扇区规则 %3）</translation>
    </message>
    <message>
        <source>table: %1 bytes</source>
        <translation>索引表：%1 字节</translation>
    </message>
    <message>
        <source>image: %1 bytes</source>
        <translation>图档：%1 字节</translation>
    </message>
    <message>
        <source>flash: %1 bytes, %2 used</source>
        <translation>flash：%1 字节，已用 %2</translation>
    </message>
    <message>
        <source>it is empty</source>
        <translation>它是空的</translation>
    </message>
    <message>
        <source>it starts with a digit</source>
        <translation>它以数字开头</translation>
    </message>
    <message>
        <source>it contains a space</source>
        <translation>它含有空格</translation>
    </message>
    <message>
        <source>it contains a hyphen</source>
        <translation>它含有连字符</translation>
    </message>
    <message>
        <source>it contains a non-ASCII character</source>
        <translation>它含有非 ASCII 字符</translation>
    </message>
    <message>
        <source>it contains a control character</source>
        <translation>它含有控制字符</translation>
    </message>
    <message>
        <source>it contains &apos;%1&apos;</source>
        <translation>它含有“%1”</translation>
    </message>
    <message>
        <source>warning: picture %1 gives the symbol %2 in Icon.h, which is not a valid C identifier (%3)</source>
        <translation>警告：图片 %1 在 Icon.h 中的符号 %2 不是合法的 C 标识符（%3）</translation>
    </message>
    <message>
        <source>, </source>
        <translation>、</translation>
    </message>
    <message>
        <source> and </source>
        <translation>和</translation>
    </message>
    <message>
        <source>warning: pictures %1 both give the symbol %2 in Icon.h</source>
        <translation>警告：图片 %1 在 Icon.h 中的符号都是 %2</translation>
    </message>
    <message>
        <source>warning: pictures %1 all give the symbol %2 in Icon.h</source>
        <translation>警告：图片 %1 在 Icon.h 中的符号都是 %2</translation>
    </message>
    <message>
        <source>%1: not a project file (no &quot;version&quot; line)</source>
        <translation>%1：不是工程文件（没有 &quot;version&quot; 行）</translation>
    </message>
    <message>
        <source>%1: line %2: %3</source>
        <translation>%1：第 %2 行：%3</translation>
    </message>
    <message>
        <source>a section line must look like [name]</source>
        <translation>段落行的格式应为 [name]</translation>
    </message>
    <message>
        <source>expected &quot;key = value&quot;</source>
        <translation>应为 &quot;key = value&quot;</translation>
    </message>
    <message>
        <source>a key is missing before &apos;=&apos;</source>
        <translation>“=”前缺少键名</translation>
    </message>
    <message>
        <source>the line holds a NUL character</source>
        <translation>该行含有 NUL 字符</translation>
    </message>
    <message>
        <source>&quot;%1&quot; appears twice</source>
        <translation>&quot;%1&quot; 出现了两次</translation>
    </message>
    <message>
        <source>the version must be a whole number from 1</source>
        <translation>版本必须是从 1 开始的整数</translation>
    </message>
    <message>
        <source>written in project format %1, newer than this program reads (%2)</source>
        <translation>以工程格式 %1 写成，比本程序能读取的格式（%2）更新</translation>
    </message>
    <message>
        <source>the picture&apos;s file is empty</source>
        <translation>图片的文件名为空</translation>
    </message>
    <message>
        <source>&quot;shown&quot; must be yes or no</source>
        <translation>&quot;shown&quot; 必须是 yes 或 no</translation>
    </message>
    <message>
        <source>&quot;position&quot; must be two whole numbers: left,top</source>
        <translation>&quot;position&quot; 必须是两个整数：left,top</translation>
    </message>
    <message>
        <source>the picture has no &quot;file&quot; line</source>
        <translation>图片没有 &quot;file&quot; 行</translation>
    </message>
    <message>
        <source>%1: no such file</source>
        <translation>%1：文件不存在</translation>
    </message>
    <message>
        <source>%1: not a regular file</source>
        <translation>%1：不是普通文件</translation>
    </message>
    <message>
        <source>%1: permission denied</source>
        <translation>%1：没有权限</translation>
    </message>
    <message>
        <source>%1: cannot be opened</source>
        <translation>%1：无法打开</translation>
    </message>
    <message>
        <source>%1: too large for a project file (over 16 MiB)</source>
        <translation>%1：作为工程文件太大（超过 16 MiB）</translation>
    </message>
    <message>
        <source>%1: read error</source>
        <translation>%1：读取错误</translation>
    </message>
    <message>
        <source>The model name is empty; type a name.</source>
        <translation>型号名称为空；请输入名称。</translation>
    </message>
    <message>
        <source>The model name &quot;%1&quot; cannot be used: it must not hold [, ], = or control characters.</source>
        <translation>型号名称“%1”不能使用：其中不能有 [、]、= 或控制字符。</translation>
    </message>
    <message>
        <source>colour depth %1 cannot be decoded (1, 2, 4, 8, 16 or 24)</source>
        <translation>颜色深度 %1 无法解码（应为 1、2、4、8、16 或 24）</translation>
    </message>
    <message>
        <source>negative picture size</source>
        <translation>图片尺寸为负</translation>
    </message>
    <message>
        <source>not enough memory for a %1 x %2 picture</source>
        <translation>内存不足，无法解码 %1 x %2 的图片</translation>
    </message>
    <message>
        <source>the picture needs %1 bytes, only %2 are there</source>
        <translation>图片需要 %1 字节，只有 %2 字节</translation>
    </message>
    <message>
        <source>the image is shorter (%1 bytes) than its table (2048 bytes)</source>
        <translation>图档（%1 字节）比其索引表（2048 字节）还短</translation>
    </message>
    <message>
        <source>the table has no picture %1 (0 to 511)</source>
        <translation>索引表中没有图片 %1（0 到 511）</translation>
    </message>
    <message>
        <source>the table holds no picture %1</source>
        <translation>索引表中没有保存图片 %1</translation>
    </message>
    <message>
        <source>picture %1 starts inside the table (offset %2)</source>
        <translation>图片 %1 的起点在索引表内（偏移 %2）</translation>
    </message>
    <message>
        <source>picture %1: the size prefix at offset %2 runs past the end of the image</source>
        <translation>图片 %1：偏移 %2 处的尺寸前缀超出了图档末尾</translation>
    </message>
    <message>
        <source>picture %1: the size prefix says %2x%3, expected %4x%5</source>
        <translation>图片 %1：尺寸前缀为 %2x%3，应为 %4x%5</translation>
    </message>
    <message>
        <source>picture %1: without a size prefix the picture&apos;s size must be given</source>
        <translation>图片 %1：没有尺寸前缀时必须给出图片尺寸</translation>
    </message>
    <message>
        <source>picture %1: negative picture size</source>
        <translation>图片 %1：图片尺寸为负</translation>
    </message>
    <message>
        <source>picture %1 runs past the end of the image (%2 &gt; %3 bytes)</source>
        <translation>图片 %1 超出了图档末尾（%2 &gt; %3 字节）</translation>
    </message>
    <message>
        <source>picture %1 overlaps the block of picture %2</source>
        <translation>图片 %1 与图片 %2 的数据块重叠</translation>
    </message>
    <message>
        <source>%1 of %2 blocks changed</source>
        <translation>%2 块中 %1 块有改动</translation>
    </message>
    <message>
        <source>checking what the module holds</source>
        <translation>检查模块现存内容</translation>
    </message>
    <message>
        <source>the module does not hold %1; downloading the whole image</source>
        <translation>模块中存的不是 %1；下载整个图档</translation>
    </message>
    <message>
        <source>there is no settings file, so no model %1</source>
        <translation>没有配置文件，因此没有型号 %1</translation>
    </message>
    <message>
        <source>model &apos;%1&apos; is not in %2</source>
        <translation>型号“%1”不在 %2 中</translation>
    </message>
    <message>
        <source>%1 names no usable current model; using the built-in defaults</source>
        <translation>%1 没有可用的当前型号；使用内置默认值</translation>
    </message>
    <message>
        <source>colour type %1 is not a colour type of depth %2 (0 to %3)</source>
        <translation>颜色类型 %1 不是颜色深度 %2 的颜色类型（0 到 %3）</translation>
    </message>
    <message>
        <source>picture of the project not found: %1</source>
        <translation>找不到工程中的图片：%1</translation>
    </message>
    <message>
        <source>the memory map %1 would overwrite %2; nothing converted</source>
        <translation>存储布局 %1 会覆盖 %2；未转换任何内容</translation>
    </message>
    <message>
        <source>no picture files and no project to convert</source>
        <translation>没有要转换的图片文件或工程</translation>
    </message>
    <message>
        <source>not every picture of the project could be loaded; nothing converted</source>
        <translation>工程中有图片无法加载；未转换任何内容</translation>
    </message>
    <message>
        <source>no picture could be loaded; nothing converted</source>
        <translation>没有能加载的图片；未转换任何内容</translation>
    </message>
    <message>
        <source>not every picture could be loaded; nothing done</source>
        <translation>有图片无法加载；未执行任何操作</translation>
    </message>
    <message>
        <source>a memory map needs the binary output: C source (Icon.c) has no memory layout; nothing converted</source>
        <translation>存储布局需要二进制输出：C 源文件（Icon.c）没有存储布局；未转换任何内容</translation>
    </message>
    <message>
        <source>cannot write the memory map %1; the image and the header were written</source>
        <translation>无法写入存储布局 %1；图档和头文件已写入</translation>
    </message>
    <message>
        <source>access denied: the file may be read-only or open in another program</source>
        <translation>拒绝访问：文件可能是只读的，或已被其他程序打开</translation>
    </message>
    <message>
        <source>the file is in use by another program</source>
        <translation>文件正被其他程序使用</translation>
    </message>
    <message>
        <source>no such file or folder</source>
        <translation>文件或文件夹不存在</translation>
    </message>
    <message>
        <source>the file exists already</source>
        <translation>文件已存在</translation>
    </message>
    <message>
        <source>the disk is write-protected</source>
        <translation>磁盘处于写保护状态</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>磁盘已满</translation>
    </message>
    <message>
        <source>1 Byte</source>
        <translation>1 字节</translation>
    </message>
    <message>
        <source>2 Bytes</source>
        <translation>2 字节</translation>
    </message>
    <message>
        <source>4 Bytes</source>
        <translation>4 字节</translation>
    </message>
    <message>
        <source>8 Bytes</source>
        <translation>8 字节</translation>
    </message>
    <message>
        <source>16 Bytes</source>
        <translation>16 字节</translation>
    </message>
    <message>
        <source>32 Bytes</source>
        <translation>32 字节</translation>
    </message>
    <message>
        <source>64 Byte</source>
        <translation>64 字节</translation>
    </message>
    <message>
        <source>128 Bytes</source>
        <translation>128 字节</translation>
    </message>
    <message>
        <source>256 Bytes</source>
        <translation>256 字节</translation>
    </message>
    <message>
        <source>512 Bytes</source>
        <translation>512 字节</translation>
    </message>
    <message>
        <source>1024 Bytes</source>
        <translation>1024 字节</translation>
    </message>
    <message>
        <source>2048 Bytes</source>
        <translation>2048 字节</translation>
    </message>
    <message>
        <source>4096 Byte</source>
        <translation>4096 字节</translation>
    </message>
    <message>
        <source>None</source>
        <translation>无</translation>
    </message>
    <message>
        <source>Ordered</source>
        <translation>有序抖动</translation>
    </message>
    <message>
        <source>Floyd–Steinberg</source>
        <translation>Floyd–Steinberg</translation>
    </message>
    <message>
        <source>%1 (%2) is larger than the panel (%3)</source>
        <translation>%1 (%2) 比屏幕 (%3) 大</translation>
    </message>
    <message>
        <source>%1 (%2) at %3,%4 reaches past the edge of the panel (%5)</source>
        <translation>%1 (%2) 位于 %3,%4，超出了屏幕 (%5) 的边缘</translation>
    </message>
    <message>
        <source>%1: not a TrueType or OpenType font</source>
        <translation>%1：不是 TrueType 或 OpenType 字体</translation>
    </message>
    <message>
        <source>%1: the font has PostScript (CFF) outlines; choose a TrueType font</source>
        <translation>%1：该字体使用 PostScript (CFF) 轮廓；请选择 TrueType 字体</translation>
    </message>
    <message>
        <source>%1: the font has no Unicode character map</source>
        <translation>%1：该字体没有 Unicode 字符映射表</translation>
    </message>
    <message>
        <source>%1: the font file is damaged</source>
        <translation>%1：字体文件已损坏</translation>
    </message>
    <message>
        <source>%1: no such font file</source>
        <translation>%1：字体文件不存在</translation>
    </message>
    <message>
        <source>%1: the font file cannot be read</source>
        <translation>%1：无法读取字体文件</translation>
    </message>
    <message>
        <source>%1: too large for a font file (over 64 MiB)</source>
        <translation>%1：字体文件过大（超过 64 MiB）</translation>
    </message>
    <message>
        <source>the text at %1 pixels would be %2 x %3 pixels, more than %4 on a side</source>
        <translation>文字在 %1 像素时将为 %2 x %3 像素，单边超过 %4</translation>
    </message>
    <message>
        <source>the text is not UTF-8</source>
        <translation>文字不是 UTF-8 编码</translation>
    </message>
    <message>
        <source>the text is empty</source>
        <translation>文字为空</translation>
    </message>
    <message>
        <source>the text size %1 is not %2 to %3 pixels</source>
        <translation>文字大小 %1 不在 %2 到 %3 像素之间</translation>
    </message>
    <message>
        <source>%1: a glyph of the font is too large to draw at %2 pixels</source>
        <translation>%1：该字体有字形在 %2 像素时过大，无法绘制</translation>
    </message>
    <message>
        <source>%1: the text draws nothing with this font</source>
        <translation>%1：用此字体绘制该文字没有任何笔画</translation>
    </message>
    <message>
        <source>%1 has no glyph for %2 (in &quot;%3&quot;); its empty box is drawn instead</source>
        <translation>%1 没有 %2 的字形（在“%3”中）；改为绘制其空框</translation>
    </message>
    <message>
        <source>%1: the crop %2 does not lie inside the picture (%3)</source>
        <translation>%1：裁剪区域 %2 不在图片 (%3) 之内</translation>
    </message>
    <message>
        <source>%1: after its operations the picture (%2) would not be 1 to %3 pixels on each side</source>
        <translation>%1：经过处理后图片 (%2) 的每边将不在 1 到 %3 像素之间</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is empty</source>
        <translation>“%1”为空</translation>
    </message>
    <message>
        <source>the text has no &quot;%1&quot; line</source>
        <translation>文字项缺少“%1”一行</translation>
    </message>
    <message>
        <source>&quot;crop&quot; must be X,Y,W,H: whole numbers, W and H at least 1</source>
        <translation>“crop”必须是 X,Y,W,H：整数，W 和 H 至少为 1</translation>
    </message>
    <message>
        <source>&quot;rotate&quot; must be 0, 90, 180 or 270</source>
        <translation>“rotate”必须是 0、90、180 或 270</translation>
    </message>
    <message>
        <source>&quot;flip&quot; must be none, horizontal, vertical or both</source>
        <translation>“flip”必须是 none、horizontal、vertical 或 both</translation>
    </message>
    <message>
        <source>&quot;scale&quot; must be W x H or fit W x H, each 1 to 8192</source>
        <translation>“scale”必须是 W x H 或 fit W x H，每边 1 到 8192</translation>
    </message>
    <message>
        <source>&quot;filter&quot; must be nearest, area or bilinear</source>
        <translation>“filter”必须是 nearest、area 或 bilinear</translation>
    </message>
    <message>
        <source>&quot;invert&quot; must be yes or no</source>
        <translation>“invert”必须是 yes 或 no</translation>
    </message>
    <message>
        <source>&quot;threshold&quot; must be a whole number 0 to 255</source>
        <translation>“threshold”必须是 0 到 255 的整数</translation>
    </message>
    <message>
        <source>&quot;text&quot; must not be empty</source>
        <translation>“text”不能为空</translation>
    </message>
    <message>
        <source>&quot;size&quot; must be a whole number of pixels, 1 to 1024</source>
        <translation>“size”必须是 1 到 1024 的整数像素</translation>
    </message>
    <message>
        <source>&quot;color&quot; must be #RRGGBB</source>
        <translation>“color”必须是 #RRGGBB</translation>
    </message>
    <message>
        <source>&quot;background&quot; must be #RRGGBB or transparent</source>
        <translation>“background”必须是 #RRGGBB 或 transparent</translation>
    </message>
    <message>
        <source>&quot;align&quot; must be left, center or right</source>
        <translation>“align”必须是 left、center 或 right</translation>
    </message>
    <message>
        <source>&quot;antialias&quot; must be on or off</source>
        <translation>“antialias”必须是 on 或 off</translation>
    </message>
</context>
<context>
    <name>FieldExchange</name>
    <message>
        <source>Please enter an integer.</source>
        <translation>请输入一个整数。</translation>
    </message>
    <message>
        <source>Please enter an integer between %1 and %2.</source>
        <translation>请输入 %1 到 %2 之间的整数。</translation>
    </message>
    <message>
        <source>Please enter a positive integer.</source>
        <translation>请输入一个正整数。</translation>
    </message>
</context>
<context>
    <name>ImportFailure</name>
    <message>
        <source>cannot be opened</source>
        <translation>无法打开</translation>
    </message>
    <message>
        <source>unsupported format (not a bitmap or PNG)</source>
        <translation>格式不支持（不是位图或 PNG）</translation>
    </message>
    <message>
        <source>too large (more than %1 pixels wide or high)</source>
        <translation>太大（宽或高超过 %1 像素）</translation>
    </message>
    <message>
        <source>truncated or damaged</source>
        <translation>文件不完整或已损坏</translation>
    </message>
    <message>
        <source>1 picture was not imported:</source>
        <translation>1 张图片未导入：</translation>
    </message>
    <message>
        <source>%1 pictures were not imported:</source>
        <translation>%1 张图片未导入：</translation>
    </message>
    <message>
        <source>… and %1 more</source>
        <translation>……另有 %1 个</translation>
    </message>
</context>
<context>
    <name>LcdPreview</name>
    <message>
        <source>Source</source>
        <translation>原图</translation>
    </message>
    <message>
        <source>Draw the pictures as they were loaded</source>
        <translation>按加载时的样子绘制图片</translation>
    </message>
    <message>
        <source>As on the panel</source>
        <translation>按屏幕显示</translation>
    </message>
    <message>
        <source>Draw the pictures as the module shows them with the active model</source>
        <translation>按模块在当前型号下的显示效果绘制图片</translation>
    </message>
</context>
<context>
    <name>LcdSettingsDialog</name>
    <message>
        <source>LCD SETTING</source>
        <translation>LCD 设置</translation>
    </message>
    <message>
        <source>读设置</source>
        <translation>读设置</translation>
    </message>
    <message>
        <source>写设置</source>
        <translation>写设置</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>Read the settings stored in the module</source>
        <translation>读取模块中保存的设置</translation>
    </message>
    <message>
        <source>Write these settings into the module</source>
        <translation>把这些设置写入模块</translation>
    </message>
    <message>
        <source>Close the dialog</source>
        <translation>关闭对话框</translation>
    </message>
    <message>
        <source>从LCD模块读出设置数据</source>
        <translation>从LCD模块读出设置数据</translation>
    </message>
    <message>
        <source>把设置数据写到LCD模块</source>
        <translation>把设置数据写到LCD模块</translation>
    </message>
    <message>
        <source>写LCD设置数据: 成功</source>
        <translation>写LCD设置数据: 成功</translation>
    </message>
    <message>
        <source>写LCD设置数据: 失败</source>
        <translation>写LCD设置数据: 失败</translation>
    </message>
    <message>
        <source>写LCD设置数据</source>
        <translation>写LCD设置数据</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>读LCD设置数据: 失败</source>
        <translation>读LCD设置数据: 失败</translation>
    </message>
    <message>
        <source>读LCD设置数据</source>
        <translation>读LCD设置数据</translation>
    </message>
    <message>
        <source>读LCD设置数据: 成功</source>
        <translation>读LCD设置数据: 成功</translation>
    </message>
</context>
<context>
    <name>LcdSettingsForm</name>
    <message>
        <source>RS485设备地址</source>
        <translation>RS485设备地址</translation>
    </message>
    <message>
        <source>串口波特率</source>
        <translation>串口波特率</translation>
    </message>
    <message>
        <source>背光亮度</source>
        <translation>背光亮度</translation>
    </message>
    <message>
        <source>前景色</source>
        <translation>前景色</translation>
    </message>
    <message>
        <source>背景色</source>
        <translation>背景色</translation>
    </message>
</context>
<context>
    <name>ListChange</name>
    <message>
        <source>Switch model</source>
        <translation>切换型号</translation>
    </message>
    <message>
        <source>Sort by name</source>
        <translation>按名称排序</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Remove all</source>
        <translation>全部删除</translation>
    </message>
    <message>
        <source>Move up</source>
        <translation>上移</translation>
    </message>
    <message>
        <source>Move down</source>
        <translation>下移</translation>
    </message>
    <message>
        <source>Show picture</source>
        <translation>显示图片</translation>
    </message>
    <message>
        <source>Hide picture</source>
        <translation>隐藏图片</translation>
    </message>
    <message>
        <source>Import pictures</source>
        <translation>导入图片</translation>
    </message>
    <message>
        <source>Move picture</source>
        <translation>移动图片</translation>
    </message>
    <message>
        <source>Picture operations</source>
        <translation>图片操作</translation>
    </message>
    <message>
        <source>Add text</source>
        <translation>添加文字</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>帮助(&amp;H)</translation>
    </message>
    <message>
        <source>关于 Pictor(&amp;A)...</source>
        <translation>关于 Pictor(&amp;A)...</translation>
    </message>
    <message>
        <source>取消下载</source>
        <translation>取消下载</translation>
    </message>
    <message>
        <source>图标</source>
        <translation>图标</translation>
    </message>
    <message>
        <source>列表</source>
        <translation>列表</translation>
    </message>
    <message>
        <source>详细信息</source>
        <translation>详细信息</translation>
    </message>
    <message>
        <source>显示方式</source>
        <translation>显示方式</translation>
    </message>
    <message>
        <source>导入BMP文件</source>
        <translation>导入BMP文件</translation>
    </message>
    <message>
        <source>删除BMP文件</source>
        <translation>删除BMP文件</translation>
    </message>
    <message>
        <source>全部删除</source>
        <translation>全部删除</translation>
    </message>
    <message>
        <source>按名称排序</source>
        <translation>按名称排序</translation>
    </message>
    <message>
        <source>上移</source>
        <translation>上移</translation>
    </message>
    <message>
        <source>下移</source>
        <translation>下移</translation>
    </message>
    <message>
        <source>编辑图片</source>
        <translation>编辑图片</translation>
    </message>
    <message>
        <source>BMP转档</source>
        <translation>BMP转档</translation>
    </message>
    <message>
        <source>存储布局</source>
        <translation>存储布局</translation>
    </message>
    <message>
        <source>刷新显示</source>
        <translation>刷新显示</translation>
    </message>
    <message>
        <source>图片索引</source>
        <translation>图片索引</translation>
    </message>
    <message>
        <source>图片宽度</source>
        <translation>图片宽度</translation>
    </message>
    <message>
        <source>图片高度</source>
        <translation>图片高度</translation>
    </message>
    <message>
        <source>X坐标</source>
        <translation>X坐标</translation>
    </message>
    <message>
        <source>Y坐标</source>
        <translation>Y坐标</translation>
    </message>
    <message>
        <source>模拟LCD屏幕</source>
        <translation>模拟LCD屏幕</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>从bin文件查看图片</source>
        <translation>从bin文件查看图片</translation>
    </message>
    <message>
        <source>从bin文件查看</source>
        <translation>从bin文件查看</translation>
    </message>
    <message>
        <source>文件名</source>
        <translation>文件名</translation>
    </message>
    <message>
        <source>打开串口</source>
        <translation>打开串口</translation>
    </message>
    <message>
        <source>关闭串口</source>
        <translation>关闭串口</translation>
    </message>
    <message>
        <source>连接设备</source>
        <translation>连接设备</translation>
    </message>
    <message>
        <source>串口</source>
        <translation>串口</translation>
    </message>
    <message>
        <source>波特率</source>
        <translation>波特率</translation>
    </message>
    <message>
        <source>串口号</source>
        <translation>串口号</translation>
    </message>
    <message>
        <source>Flash 容量</source>
        <translation>Flash 容量</translation>
    </message>
    <message>
        <source>资源下载</source>
        <translation>资源下载</translation>
    </message>
    <message>
        <source>下载bin档</source>
        <translation>下载bin档</translation>
    </message>
    <message>
        <source>LCD设置</source>
        <translation>LCD设置</translation>
    </message>
    <message>
        <source>语言(&amp;L)</source>
        <translation>语言(&amp;L)</translation>
    </message>
    <message>
        <source>&amp;New project</source>
        <translation>新建工程(&amp;N)</translation>
    </message>
    <message>
        <source>Start an empty picture list (asks to save a changed one)</source>
        <translation>开始一个空的图片列表（已修改的列表会先询问是否保存）</translation>
    </message>
    <message>
        <source>&amp;Open project...</source>
        <translation>打开工程(&amp;O)...</translation>
    </message>
    <message>
        <source>Open a project file: its pictures, positions, model and output folder</source>
        <translation>打开工程文件：其中的图片、位置、型号和输出目录</translation>
    </message>
    <message>
        <source>&amp;Save project</source>
        <translation>保存工程(&amp;S)</translation>
    </message>
    <message>
        <source>Save the picture list as a project file</source>
        <translation>把图片列表保存为工程文件</translation>
    </message>
    <message>
        <source>Save project &amp;as...</source>
        <translation>工程另存为(&amp;A)...</translation>
    </message>
    <message>
        <source>Save the picture list as a new project file</source>
        <translation>把图片列表保存为新的工程文件</translation>
    </message>
    <message>
        <source>&amp;Import pictures...</source>
        <translation>导入图片(&amp;I)...</translation>
    </message>
    <message>
        <source>Add picture files (BMP, PNG, ICO) to the end of the list</source>
        <translation>把图片文件（BMP、PNG、ICO）添加到列表末尾</translation>
    </message>
    <message>
        <source>&amp;Convert</source>
        <translation>转档(&amp;C)</translation>
    </message>
    <message>
        <source>Sort the list by name and write Icon.bin (or Icon.c) and Icon.h into the output folder</source>
        <translation>按名称排序列表，并把 Icon.bin（或 Icon.c）和 Icon.h 写入输出目录</translation>
    </message>
    <message>
        <source>&amp;Memory map</source>
        <translation>存储布局(&amp;M)</translation>
    </message>
    <message>
        <source>Where the pictures of the last conversion sit in Icon.bin, and how full the flash is</source>
        <translation>上次转档的图片在 Icon.bin 中的位置，以及 flash 的占用情况</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>退出(&amp;Q)</translation>
    </message>
    <message>
        <source>Close the window</source>
        <translation>关闭窗口</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>删除(&amp;D)</translation>
    </message>
    <message>
        <source>Remove &amp;all</source>
        <translation>全部删除(&amp;A)</translation>
    </message>
    <message>
        <source>Remove every picture from the list</source>
        <translation>从列表中删除所有图片</translation>
    </message>
    <message>
        <source>&amp;Sort by name</source>
        <translation>按名称排序(&amp;S)</translation>
    </message>
    <message>
        <source>Sort the list by picture name</source>
        <translation>按图片名称排序列表</translation>
    </message>
    <message>
        <source>Move &amp;up</source>
        <translation>上移(&amp;U)</translation>
    </message>
    <message>
        <source>Move the current picture one place up</source>
        <translation>把当前图片上移一位</translation>
    </message>
    <message>
        <source>Move do&amp;wn</source>
        <translation>下移(&amp;W)</translation>
    </message>
    <message>
        <source>Move the current picture one place down</source>
        <translation>把当前图片下移一位</translation>
    </message>
    <message>
        <source>&amp;Edit in editor</source>
        <translation>在编辑器中编辑(&amp;E)</translation>
    </message>
    <message>
        <source>Open the current picture in the editor chosen in the configuration</source>
        <translation>用配置中选定的编辑器打开当前图片</translation>
    </message>
    <message>
        <source>&amp;Open port</source>
        <translation>打开串口(&amp;O)</translation>
    </message>
    <message>
        <source>Open the serial port shown in the port box</source>
        <translation>打开串口框中显示的串口</translation>
    </message>
    <message>
        <source>C&amp;lose port</source>
        <translation>关闭串口(&amp;L)</translation>
    </message>
    <message>
        <source>Close the serial port</source>
        <translation>关闭串口</translation>
    </message>
    <message>
        <source>&amp;Connect</source>
        <translation>连接设备(&amp;C)</translation>
    </message>
    <message>
        <source>Ask the module on the open port for its flash type</source>
        <translation>向已打开串口上的模块查询其 flash 类型</translation>
    </message>
    <message>
        <source>Download .&amp;bin...</source>
        <translation>下载 .bin 档(&amp;B)...</translation>
    </message>
    <message>
        <source>Write a .bin file into the module&apos;s flash</source>
        <translation>把 .bin 文件写入模块的 flash</translation>
    </message>
    <message>
        <source>&amp;Resource download...</source>
        <translation>资源下载(&amp;R)...</translation>
    </message>
    <message>
        <source>Write a resource image and optionally the LCD settings into the module</source>
        <translation>把资源图档（以及可选的 LCD 设置）写入模块</translation>
    </message>
    <message>
        <source>LCD &amp;settings...</source>
        <translation>LCD 设置(&amp;S)...</translation>
    </message>
    <message>
        <source>Read or write the module&apos;s LCD settings</source>
        <translation>读取或写入模块的 LCD 设置</translation>
    </message>
    <message>
        <source>C&amp;ancel download</source>
        <translation>取消下载(&amp;A)</translation>
    </message>
    <message>
        <source>Stop the running download</source>
        <translation>停止正在进行的下载</translation>
    </message>
    <message>
        <source>&amp;Configure models...</source>
        <translation>配置型号(&amp;C)...</translation>
    </message>
    <message>
        <source>Edit, create or delete model profiles and choose the active one</source>
        <translation>编辑、新建或删除型号配置，并选择当前型号</translation>
    </message>
    <message>
        <source>Apply the X and Y fields to the current picture</source>
        <translation>把 X 和 Y 的值用于当前图片</translation>
    </message>
    <message>
        <source>Choose the .bin file the viewer reads</source>
        <translation>选择查看器读取的 .bin 文件</translation>
    </message>
    <message>
        <source>Pick a picture of the .bin file&apos;s table and draw it onto the preview at X, Y</source>
        <translation>从 .bin 文件的索引表中选择一张图片，在预览的 X、Y 处绘制</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>文件(&amp;F)</translation>
    </message>
    <message>
        <source>Open &amp;recent</source>
        <translation>最近打开(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>编辑(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Device</source>
        <translation>设备(&amp;D)</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>视图(&amp;V)</translation>
    </message>
    <message>
        <source>&amp;Icons</source>
        <translation>图标(&amp;I)</translation>
    </message>
    <message>
        <source>&amp;List</source>
        <translation>列表(&amp;L)</translation>
    </message>
    <message>
        <source>&amp;Report</source>
        <translation>详细信息(&amp;R)</translation>
    </message>
    <message>
        <source>Preview &amp;1x (real pixel size)</source>
        <translation>预览 &amp;1x（实际像素大小）</translation>
    </message>
    <message>
        <source>Preview &amp;%1x</source>
        <translation>预览 &amp;%1x</translation>
    </message>
    <message>
        <source>As on the panel</source>
        <translation>按屏幕显示</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>原图</translation>
    </message>
    <message>
        <source>&amp;Model</source>
        <translation>型号(&amp;M)</translation>
    </message>
    <message>
        <source>型号</source>
        <translation>型号</translation>
    </message>
    <message>
        <source>The active model: choosing one applies it at once</source>
        <translation>当前型号：选择后立即生效</translation>
    </message>
    <message>
        <source>A download is running. Cancel it and quit?</source>
        <translation>正在下载。要取消下载并退出吗？</translation>
    </message>
    <message>
        <source>Model: %1</source>
        <translation>型号：%1</translation>
    </message>
    <message>
        <source>Port %1: %2</source>
        <translation>串口 %1：%2</translation>
    </message>
    <message>
        <source>, current %1 x %2</source>
        <translation>，当前 %1 x %2</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>未命名</translation>
    </message>
    <message>
        <source>The model cannot be made active: it has no entry in the settings file.</source>
        <translation>无法使用该型号：配置文件中没有它的条目。</translation>
    </message>
    <message>
        <source>Remove the picture from the list?</source>
        <translation>从列表中删除这张图片？</translation>
    </message>
    <message>
        <source>Remove %1 pictures from the list?</source>
        <translation>从列表中删除 %1 张图片？</translation>
    </message>
    <message>
        <source>Folder: %1</source>
        <translation>目录：%1</translation>
    </message>
    <message>
        <source>Files: %1, %2</source>
        <translation>文件：%1、%2</translation>
    </message>
    <message>
        <source>%1: %2 bytes</source>
        <translation>%1：%2 字节</translation>
    </message>
    <message>
        <source>%1 % of the %2 flash (%3 bytes)</source>
        <translation>占 %2 flash（%3 字节）的 %1 %</translation>
    </message>
    <message>
        <source>No such device: %1.</source>
        <translation>没有这个设备：%1。</translation>
    </message>
    <message>
        <source>%1 is busy: another program has it open.</source>
        <translation>%1 正忙：另一个程序已打开它。</translation>
    </message>
    <message>
        <source>Permission denied on %1: add your user to the dialout group (sudo usermod -aG dialout $USER) and log in again.</source>
        <translation>没有 %1 的权限：请把用户加入 dialout 组（sudo usermod -aG dialout $USER）并重新登录。</translation>
    </message>
    <message>
        <source>The baud rate %1 is not usable on %2.</source>
        <translation>%2 不支持波特率 %1。</translation>
    </message>
    <message>
        <source>串口无法打开!</source>
        <translation>串口无法打开!</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>The serial port is closed: open it first (&quot;打开串口&quot;).</source>
        <translation>串口未打开：请先打开串口（“打开串口”）。</translation>
    </message>
    <message>
        <source>信息</source>
        <translation>信息</translation>
    </message>
    <message>
        <source>成功连接</source>
        <translation>成功连接</translation>
    </message>
    <message>
        <source>已连接</source>
        <translation>已连接</translation>
    </message>
    <message>
        <source>连接失败</source>
        <translation>连接失败</translation>
    </message>
    <message>
        <source>未连接</source>
        <translation>未连接</translation>
    </message>
    <message>
        <source>Choose the .bin file to download</source>
        <translation>选择要下载的 .bin 文件</translation>
    </message>
    <message>
        <source>binary File (*.bin);;All File(*)</source>
        <translation>二进制文件 (*.bin);;所有文件(*)</translation>
    </message>
    <message>
        <source>连接LCM 失败</source>
        <translation>连接LCM 失败</translation>
    </message>
    <message>
        <source>it does not exist</source>
        <translation>它不存在</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>它是一个目录</translation>
    </message>
    <message>
        <source>it is not executable</source>
        <translation>它不可执行</translation>
    </message>
    <message>
        <source>the system refused to start it</source>
        <translation>系统拒绝启动它</translation>
    </message>
    <message>
        <source>The editor %1 could not be started: %2.</source>
        <translation>无法启动编辑程序 %1：%2。</translation>
    </message>
    <message>
        <source>Import pictures</source>
        <translation>导入图片</translation>
    </message>
    <message>
        <source>Pictures (*.bmp *.png *.ico);;Bitmap file(*.bmp);;PNG file(*.png);;Icon file(*.ico);;All file(*)</source>
        <translation>图片 (*.bmp *.png *.ico);;位图文件(*.bmp);;PNG 文件(*.png);;图标文件(*.ico);;所有文件(*)</translation>
    </message>
    <message>
        <source>没有正常导入bmp</source>
        <translation>没有正常导入bmp</translation>
    </message>
    <message>
        <source>Importing pictures…</source>
        <translation>正在导入图片……</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Importing pictures… %1 of %2</source>
        <translation>正在导入图片……%1 / %2</translation>
    </message>
    <message>
        <source>没有选择执行的应用...</source>
        <translation>没有选择执行的应用...</translation>
    </message>
    <message>
        <source>请选择编辑对象...</source>
        <translation>请选择编辑对象...</translation>
    </message>
    <message>
        <source>只支持二进制文件</source>
        <translation>只支持二进制文件</translation>
    </message>
    <message>
        <source>Choose the .bin file to view</source>
        <translation>选择要查看的 .bin 文件</translation>
    </message>
    <message>
        <source>Binary file(*.bin)</source>
        <translation>二进制文件(*.bin)</translation>
    </message>
    <message>
        <source>Pictor project (*%1);;All files (*)</source>
        <translation>Pictor 工程 (*%1);;所有文件 (*)</translation>
    </message>
    <message>
        <source>The picture list has changed. Save it?</source>
        <translation>图片列表已修改。要保存吗？</translation>
    </message>
    <message>
        <source>The project %1 has changed. Save it?</source>
        <translation>工程 %1 已修改。要保存吗？</translation>
    </message>
    <message>
        <source>Open project</source>
        <translation>打开工程</translation>
    </message>
    <message>
        <source>The project&apos;s model &quot;%1&quot; is not in the settings file; the model &quot;%2&quot; stays active.</source>
        <translation>工程的型号“%1”不在配置文件中；当前型号仍为“%2”。</translation>
    </message>
    <message>
        <source>These pictures of the project were not found and are left out of the list (saving the project removes them from it):</source>
        <translation>工程中的以下图片没有找到，未加入列表（保存工程会将它们从工程中删除）：</translation>
    </message>
    <message>
        <source>… and %1 more</source>
        <translation>……另有 %1 条</translation>
    </message>
    <message>
        <source>Save project as</source>
        <translation>工程另存为</translation>
    </message>
    <message>
        <source>The project was not saved: %1</source>
        <translation>工程没有保存：%1</translation>
    </message>
    <message>
        <source> 请选择图片数据文件(*.bin)</source>
        <translation> 请选择图片数据文件(*.bin)</translation>
    </message>
    <message>
        <source>文件 %1不存在..</source>
        <translation>文件 %1不存在..</translation>
    </message>
    <message>
        <source>%1 is too large for a resource image.</source>
        <translation>%1 太大，不是资源图档。</translation>
    </message>
    <message>
        <source>%1 could not be read.</source>
        <translation>无法读取 %1。</translation>
    </message>
    <message>
        <source>%1 holds no pictures: it is shorter than its 2048-byte table or the table is empty.</source>
        <translation>%1 中没有图片：它比 2048 字节的索引表还短，或索引表为空。</translation>
    </message>
    <message>
        <source>only picture 0</source>
        <translation>只有图片 0</translation>
    </message>
    <message>
        <source>pictures 0 to %1</source>
        <translation>图片 0 到 %1</translation>
    </message>
    <message>
        <source>There is no picture %1 in %2: its table lists %3.</source>
        <translation>%2 中没有图片 %1：其索引表列出的是%3。</translation>
    </message>
    <message>
        <source>Picture %1 of %2 cannot be shown with the active model: %3.</source>
        <translation>%2 的图片 %1 无法用当前型号显示：%3。</translation>
    </message>
    <message>
        <source>&amp;Erase only the image&apos;s blocks</source>
        <translation>只擦除图档所占的块(&amp;E)</translation>
    </message>
    <message>
        <source>Erase only the 64 KiB blocks the image occupies, not the flash up to its end; the flash beyond the image keeps its bytes, which the image&apos;s index table never points to</source>
        <translation>只擦除图档所占的 64 KiB 块，而不是擦除到 flash 末尾；图档之后的 flash 保留原内容，图档的索引表从不指向那里</translation>
    </message>
    <message>
        <source>Download c&amp;hanges only</source>
        <translation>只下载改动部分(&amp;H)</translation>
    </message>
    <message>
        <source>Erase and write only the 64 KiB blocks that differ from the image last downloaded to this port; the module is checked first, and gets the whole image when it holds something else</source>
        <translation>只擦除并写入与上次下载到此端口的图档不同的 64 KiB 块；先检查模块，模块中存的不是该图档时下载整个图档</translation>
    </message>
    <message>
        <source>A&amp;uto-download on change</source>
        <translation>改动后自动下载(&amp;U)</translation>
    </message>
    <message>
        <source>After a picture file or the list changes, convert and download the changes to the open port; the result shows in the status bar</source>
        <translation>图片文件或列表改动后，转档并把改动部分下载到已打开的端口；结果显示在状态栏</translation>
    </message>
    <message>
        <source>Auto-download: %1 of %2 blocks sent in %3 s</source>
        <translation>自动下载：%3 秒内发送了 %2 块中的 %1 块</translation>
    </message>
    <message>
        <source>Auto-download: whole image, %1 blocks sent in %2 s</source>
        <translation>自动下载：整个图档，%2 秒内发送了 %1 块</translation>
    </message>
    <message>
        <source>Auto-download cancelled; the next one sends the whole image</source>
        <translation>自动下载已取消；下一次下载整个图档</translation>
    </message>
    <message>
        <source>Auto-download failed: %1; the next one sends the whole image</source>
        <translation>自动下载失败：%1；下一次下载整个图档</translation>
    </message>
    <message>
        <source>Auto-download: waiting for a change of the list or a picture</source>
        <translation>自动下载：等待列表或图片改动</translation>
    </message>
    <message>
        <source>Auto-download: the serial port is closed; nothing was sent</source>
        <translation>自动下载：串口已关闭；未发送任何内容</translation>
    </message>
    <message>
        <source>Auto-download: the conversion failed (%1); the module was left as it was</source>
        <translation>自动下载：转档失败（%1）；模块保持原样</translation>
    </message>
    <message>
        <source>Auto-download: downloading...</source>
        <translation>自动下载：正在下载...</translation>
    </message>
    <message>
        <source>The connection to the module was lost: the device %1 was removed or switched off, and its port has been closed. Connect the module, open the port and connect again.</source>
        <translation>与模块的连接已断开：设备 %1 已被拔出或关闭，其串口已关闭。请接好模块，打开串口后重新连接。</translation>
    </message>
    <message>
        <source>The module did not answer for %1 ms. Check its power and cable, then connect again.</source>
        <translation>模块 %1 毫秒没有应答。请检查电源和连线，然后重新连接。</translation>
    </message>
    <message>
        <source>Remove the selected pictures from the list (Undo brings them back)</source>
        <translation>从列表中删除选中的图片（撤销可恢复）</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>撤销(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>撤销%1(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>重做(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>重做%1(&amp;R)</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>就绪</translation>
    </message>
    <message>
        <source>open</source>
        <translation>已打开</translation>
    </message>
    <message>
        <source>closed</source>
        <translation>已关闭</translation>
    </message>
    <message>
        <source>1 picture</source>
        <translation>1 张图片</translation>
    </message>
    <message>
        <source>%1 pictures</source>
        <translation>%1 张图片</translation>
    </message>
    <message>
        <source>%1 (%2 x %3) is larger than the panel.</source>
        <translation>%1（%2 x %3）比屏幕大。</translation>
    </message>
    <message>
        <source>%1 lies partly outside the panel at %2, %3.</source>
        <translation>%1 在 %2, %3 处有一部分超出屏幕。</translation>
    </message>
    <message>
        <source>Converted, but Icon.bin does not fit the flash.</source>
        <translation>已转档，但 Icon.bin 超出 flash 容量。</translation>
    </message>
    <message>
        <source>Converted; some pictures need attention.</source>
        <translation>已转档；有些图片需要注意。</translation>
    </message>
    <message>
        <source>Open folder</source>
        <translation>打开文件夹</translation>
    </message>
    <message>
        <source>Show memory map</source>
        <translation>显示存储布局</translation>
    </message>
    <message>
        <source>(%1 bytes in %2 s, %3 KiB/s)</source>
        <translation>（%1 字节，%2 秒，%3 KiB/s）</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>（无）</translation>
    </message>
    <message>
        <source>&amp;Thumbnail size</source>
        <translation>缩略图大小(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Small</source>
        <translation>小(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Medium</source>
        <translation>中(&amp;M)</translation>
    </message>
    <message>
        <source>&amp;Large</source>
        <translation>大(&amp;L)</translation>
    </message>
    <message>
        <source>%1 of the chosen files are in the list already:
%2

Add them again (Yes) or skip them (No)?</source>
        <translation>所选文件中有 %1 个已在列表中：
%2

再次添加（是）还是跳过（否）？</translation>
    </message>
    <message>
        <source>At %1, %2 the picture would lie entirely outside the %3 x %4 panel; it stays at %5, %6.</source>
        <translation>图片在 %1, %2 处会完全超出 %3 x %4 的屏幕；位置保持 %5, %6。</translation>
    </message>
    <message>
        <source>%1 of %2 blocks changed; a whole download would take about %3 s</source>
        <translation>%2 块中 %1 块有改动；整个下载约需 %3 秒</translation>
    </message>
    <message>
        <source>&amp;Picture...</source>
        <translation>图片(&amp;P)...</translation>
    </message>
    <message>
        <source>Crop, rotate, flip, scale or invert the current picture (and the selected ones); the picture files stay as they are</source>
        <translation>裁剪、旋转、翻转、缩放或反色当前图片（及选中的图片）；图片文件保持不变</translation>
    </message>
    <message>
        <source>Add &amp;text...</source>
        <translation>添加文字(&amp;T)...</translation>
    </message>
    <message>
        <source>Add a picture drawn from a text with a font</source>
        <translation>添加一张用字体绘制文字的图片</translation>
    </message>
    <message>
        <source>Add &amp;glyphs...</source>
        <translation>添加字符组(&amp;G)...</translation>
    </message>
    <message>
        <source>Add one picture per character of a string (digits for a clock, say), all of one height and baseline</source>
        <translation>为字符串中每个字符添加一张图片（例如时钟的数字），高度和基线都相同</translation>
    </message>
    <message>
        <source>This picture is drawn from a text: it has no picture file to edit.</source>
        <translation>这张图片由文字绘制：没有可编辑的图片文件。</translation>
    </message>
</context>
<context>
    <name>MemoryMapDialog</name>
    <message>
        <source>Index</source>
        <translation>序号</translation>
    </message>
    <message>
        <source>Symbol</source>
        <translation>符号</translation>
    </message>
    <message>
        <source>Source file</source>
        <translation>源文件</translation>
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
        <source>Offset</source>
        <translation>偏移</translation>
    </message>
    <message>
        <source>Stored size</source>
        <translation>存储大小</translation>
    </message>
    <message>
        <source>Padding after</source>
        <translation>后续填充</translation>
    </message>
    <message>
        <source>First sector</source>
        <translation>起始扇区</translation>
    </message>
    <message>
        <source>Last sector</source>
        <translation>结束扇区</translation>
    </message>
    <message>
        <source>Crosses sector</source>
        <translation>跨扇区</translation>
    </message>
    <message>
        <source>No conversion yet: the map shows where the pictures of the last conversion sit in Icon.bin.</source>
        <translation>尚未转档：存储布局显示上次转档的图片在 Icon.bin 中的位置。</translation>
    </message>
    <message>
        <source>The last conversion wrote C source (Icon.c), which has no binary layout: there is no memory map.</source>
        <translation>上次转档写的是 C 源文件（Icon.c），没有二进制布局：没有存储布局。</translation>
    </message>
    <message>
        <source>Used %1, </source>
        <translation>已用 %1，</translation>
    </message>
    <message>
        <source>padding %1</source>
        <translation>填充 %1</translation>
    </message>
    <message>
        <source>the image is %1 larger than the %2; it does not fit.</source>
        <translation>图档比 %2 大 %1；放不下。</translation>
    </message>
    <message>
        <source>free %1 of the %2.</source>
        <translation>%2 剩余 %1。</translation>
    </message>
    <message>
        <source>flash</source>
        <translation>Flash</translation>
    </message>
    <message>
        <source>%1 flash</source>
        <translation>%1 Flash</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 字节</translation>
    </message>
    <message>
        <source>Memory map — Pictor</source>
        <translation>存储布局 — Pictor</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>no</source>
        <translation>否</translation>
    </message>
</context>
<context>
    <name>MessageBar</name>
    <message>
        <source>Close this message</source>
        <translation>关闭此消息</translation>
    </message>
</context>
<context>
    <name>ModelNameDialog</name>
    <message>
        <source>Input the new model name</source>
        <translation>输入新型号的名称</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Use the name</source>
        <translation>使用此名称</translation>
    </message>
    <message>
        <source>Close without a name</source>
        <translation>关闭，不输入名称</translation>
    </message>
    <message>
        <source>请选择正确文件!</source>
        <translation>请选择正确文件!</translation>
    </message>
    <message>
        <source>Model name — Pictor</source>
        <translation>型号名称 — Pictor</translation>
    </message>
    <message>
        <source>Choose a file</source>
        <translation>选择文件</translation>
    </message>
</context>
<context>
    <name>PictureListModel</name>
    <message>
        <source>名称</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>排列序号</source>
        <translation>排列序号</translation>
    </message>
    <message>
        <source>Text &quot;%1&quot; in %2</source>
        <translation>文字“%1”，字体 %2</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>尺寸</translation>
    </message>
</context>
<context>
    <name>PictureOperationsDialog</name>
    <message>
        <source>crop %1</source>
        <translation>裁剪 %1</translation>
    </message>
    <message>
        <source>rotate %1</source>
        <translation>旋转 %1</translation>
    </message>
    <message>
        <source>flip %1</source>
        <translation>翻转 %1</translation>
    </message>
    <message>
        <source>scale %1</source>
        <translation>缩放 %1</translation>
    </message>
    <message>
        <source>invert</source>
        <translation>反色</translation>
    </message>
    <message>
        <source>threshold %1</source>
        <translation>阈值 %1</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>图片</translation>
    </message>
    <message>
        <source>Crop (in source pixels)</source>
        <translation>裁剪（按原图像素）</translation>
    </message>
    <message>
        <source>Rotate clockwise</source>
        <translation>顺时针旋转</translation>
    </message>
    <message>
        <source>None</source>
        <translation>无</translation>
    </message>
    <message>
        <source>Horizontal (left and right)</source>
        <translation>水平（左右）</translation>
    </message>
    <message>
        <source>Vertical (top and bottom)</source>
        <translation>垂直（上下）</translation>
    </message>
    <message>
        <source>Both</source>
        <translation>两者</translation>
    </message>
    <message>
        <source>Flip</source>
        <translation>翻转</translation>
    </message>
    <message>
        <source>No scaling</source>
        <translation>不缩放</translation>
    </message>
    <message>
        <source>To W x H</source>
        <translation>缩放到 宽 x 高</translation>
    </message>
    <message>
        <source>To fit inside W x H, keeping the shape</source>
        <translation>缩放到 宽 x 高 以内，保持比例</translation>
    </message>
    <message>
        <source>Scale</source>
        <translation>缩放</translation>
    </message>
    <message>
        <source>Automatic (nearest for whole factors, else area)</source>
        <translation>自动（整数倍用最近邻，否则用区域平均）</translation>
    </message>
    <message>
        <source>Nearest (pixel art)</source>
        <translation>最近邻（像素画）</translation>
    </message>
    <message>
        <source>Area average (photos)</source>
        <translation>区域平均（照片）</translation>
    </message>
    <message>
        <source>Bilinear (photos)</source>
        <translation>双线性（照片）</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>滤波</translation>
    </message>
    <message>
        <source>Invert the colours (alpha kept)</source>
        <translation>反色（保留透明度）</translation>
    </message>
    <message>
        <source>Own threshold on 1-bit models</source>
        <translation>1 位型号使用自己的阈值</translation>
    </message>
    <message>
        <source>The operations go to all %1 selected pictures; the preview shows the current one.</source>
        <translation>操作将应用到选中的全部 %1 张图片；预览显示当前图片。</translation>
    </message>
    <message>
        <source>%1 x %2 pixels, after the operations</source>
        <translation>操作后 %1 x %2 像素</translation>
    </message>
    <message>
        <source>The operations do not apply: the crop reaches outside the picture (%1 x %2).</source>
        <translation>操作无法应用：裁剪区域超出图片（%1 x %2）。</translation>
    </message>
</context>
<context>
    <name>ResourceDownloadDialog</name>
    <message>
        <source>同时下载LCD设置</source>
        <translation>同时下载LCD设置</translation>
    </message>
    <message>
        <source>图片资源下载</source>
        <translation>图片资源下载</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>下载</source>
        <translation>下载</translation>
    </message>
    <message>
        <source>取消下载</source>
        <translation>取消下载</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>Choose the resource image (.bin) to download</source>
        <translation>选择要下载的资源图档（.bin）</translation>
    </message>
    <message>
        <source>Write the image (and the settings when chosen) into the module</source>
        <translation>把图档（以及选中时的设置）写入模块</translation>
    </message>
    <message>
        <source>Stop the running download</source>
        <translation>停止正在进行的下载</translation>
    </message>
    <message>
        <source>Close the dialog</source>
        <translation>关闭对话框</translation>
    </message>
    <message>
        <source>LCD设置</source>
        <translation>LCD设置</translation>
    </message>
    <message>
        <source>binary File (*.bin);;All File(*)</source>
        <translation>二进制文件 (*.bin);;所有文件(*)</translation>
    </message>
    <message>
        <source>Choose the resource image (*.bin) to download first.</source>
        <translation>请先选择要下载的资源图档（*.bin）。</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>资源文件：</source>
        <translation>资源文件：</translation>
    </message>
    <message>
        <source>%1 is a folder. Choose the resource image file (Icon.bin) to download.</source>
        <translation>%1 是文件夹。请选择要下载的资源图档文件（Icon.bin）。</translation>
    </message>
    <message>
        <source>Erase only the image&apos;s blocks</source>
        <translation>只擦除图档所占的块</translation>
    </message>
    <message>
        <source>Download changes only</source>
        <translation>只下载改动部分</translation>
    </message>
    <message>
        <source>Erase only the 64 KiB blocks the image occupies; the flash beyond the image keeps its bytes</source>
        <translation>只擦除图档所占的 64 KiB 块；图档之后的 flash 保留原内容</translation>
    </message>
    <message>
        <source>Send only the blocks that differ from the image last downloaded to this port (after checking the module)</source>
        <translation>只发送与上次下载到此端口的图档不同的块（先检查模块）</translation>
    </message>
</context>
<context>
    <name>ResourceViewer</name>
    <message>
        <source>%1 bytes at %2</source>
        <translation>%1 字节，位于 %2</translation>
    </message>
    <message>
        <source> (unreadable: %1)</source>
        <translation>（无法读取：%1）</translation>
    </message>
    <message>
        <source>The image stores each picture&apos;s size</source>
        <translation>图档中保存了每张图片的尺寸</translation>
    </message>
    <message>
        <source>The image stores no sizes: give the picture&apos;s size as it was converted</source>
        <translation>图档中没有保存尺寸：请给出转换时的图片尺寸</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>图片</translation>
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
        <source>View from binary — Pictor</source>
        <translation>从bin文件查看 — Pictor</translation>
    </message>
</context>
<context>
    <name>TextItemDialog</name>
    <message>
        <source>Add text</source>
        <translation>添加文字</translation>
    </message>
    <message>
        <source>Add glyphs</source>
        <translation>添加字符组</translation>
    </message>
    <message>
        <source>Name (its symbol in Icon.h)</source>
        <translation>名称（Icon.h 中的符号）</translation>
    </message>
    <message>
        <source>Name prefix (prefix_&lt;code point&gt;)</source>
        <translation>名称前缀（前缀_&lt;码位&gt;）</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>文字</translation>
    </message>
    <message>
        <source>Characters (one picture each)</source>
        <translation>字符（每个一张图片）</translation>
    </message>
    <message>
        <source>Choose a font file</source>
        <translation>选择字体文件</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>字体</translation>
    </message>
    <message>
        <source> pixels</source>
        <translation> 像素</translation>
    </message>
    <message>
        <source>Size (line height)</source>
        <translation>大小（行高）</translation>
    </message>
    <message>
        <source>Colour...</source>
        <translation>颜色...</translation>
    </message>
    <message>
        <source>Transparent background</source>
        <translation>透明背景</translation>
    </message>
    <message>
        <source>Background...</source>
        <translation>背景...</translation>
    </message>
    <message>
        <source>Colours</source>
        <translation>颜色</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>左对齐</translation>
    </message>
    <message>
        <source>Centre</source>
        <translation>居中</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>右对齐</translation>
    </message>
    <message>
        <source>Alignment of the lines</source>
        <translation>行对齐</translation>
    </message>
    <message>
        <source>Anti-aliasing (off: crisp 1-bit glyphs)</source>
        <translation>抗锯齿（关闭：清晰的 1 位字形）</translation>
    </message>
    <message>
        <source>Choose a font</source>
        <translation>选择字体</translation>
    </message>
    <message>
        <source>Fonts (*.ttf *.ttc *.otf);;All files (*)</source>
        <translation>字体 (*.ttf *.ttc *.otf);;所有文件 (*)</translation>
    </message>
    <message>
        <source>%1 x %2 pixels</source>
        <translation>%1 x %2 像素</translation>
    </message>
    <message>
        <source>%1 pictures, %2 pixels high</source>
        <translation>%1 张图片，高 %2 像素</translation>
    </message>
</context>
</TS>
