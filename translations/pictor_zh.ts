<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
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
        <source>pictor-cli: no settings file, so no model %1</source>
        <translation>pictor-cli：没有配置文件，因此没有型号 %1</translation>
    </message>
    <message>
        <source>pictor-cli: model &apos;%1&apos; is not in %2</source>
        <translation>pictor-cli：型号“%1”不在 %2 中</translation>
    </message>
    <message>
        <source>pictor-cli: %1 names no usable current model; using the built-in defaults</source>
        <translation>pictor-cli：%1 没有可用的当前型号；使用内置默认值</translation>
    </message>
    <message>
        <source>pictor-cli: --color-type %1 is not a colour type of depth %2 (0 to %3)</source>
        <translation>pictor-cli：--color-type %1 不是颜色深度 %2 的颜色类型（0 到 %3）</translation>
    </message>
    <message>
        <source>pictor-cli: picture of the project not found: %1</source>
        <translation>pictor-cli：找不到工程中的图片：%1</translation>
    </message>
    <message>
        <source>pictor-cli: give the PICTURE files or --project FILE</source>
        <translation>pictor-cli：请给出图片文件或 --project 工程文件</translation>
    </message>
    <message>
        <source>pictor-cli: --map needs the binary output: C source (Icon.c) has no memory layout; nothing converted</source>
        <translation>pictor-cli：--map 需要二进制输出：C 源文件（Icon.c）没有存储布局；未转换任何内容</translation>
    </message>
    <message>
        <source>pictor-cli: not every picture of the project could be loaded; nothing converted</source>
        <translation>pictor-cli：工程中有图片无法加载；未转换任何内容</translation>
    </message>
    <message>
        <source>pictor-cli: no picture could be loaded; nothing converted</source>
        <translation>pictor-cli：没有能加载的图片；未转换任何内容</translation>
    </message>
    <message>
        <source>pictor-cli: --map %1 would overwrite %2; nothing converted</source>
        <translation>pictor-cli：--map %1 会覆盖 %2；未转换任何内容</translation>
    </message>
    <message>
        <source>pictures: %1</source>
        <translation>图片数：%1</translation>
    </message>
    <message>
        <source>pictor-cli: cannot write the memory map %1; the image and the header were written</source>
        <translation>pictor-cli：无法写入存储布局 %1；图档和头文件已写入</translation>
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
        <source>pictor-cli: not every picture of the project could be loaded</source>
        <translation>pictor-cli：工程中有图片无法加载</translation>
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
        <source>打开bin档错误!</source>
        <translation>打开bin档错误!</translation>
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
        <source>Remove the selected pictures from the list (asks for more than one)</source>
        <translation>从列表中删除所选图片（多于一张时先询问）</translation>
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
</context>
</TS>
