// Drives headless Chromium for the Python side of the browser tests: one
// command a line on standard input ({"id", "cmd", ...}), one answer a line
// on standard output ({"id", "ok", "result" | "error"}). Each page's console
// lines are kept until asked for.
import {createInterface} from 'node:readline';
import puppeteer from 'puppeteer-core';

const CHROMIUM = process.env.QUORBEL_CHROMIUM || '/usr/bin/chromium';
let browser = null;
let page = null;
let lines = [];
let errors = [];

async function openPage({url, touch = false, width = 1000, height = 760, record = null}) {
  if (page) await page.close();
  page = await browser.newPage();
  lines = [];
  errors = [];
  page.on('console', message => lines.push(message.text()));
  page.on('pageerror', error => errors.push(String(error)));
  if (touch) {
    await page.emulate({
      userAgent: 'Mozilla/5.0 (Linux; Android 14) Mobile',
      viewport: {width, height, deviceScaleFactor: 1, isMobile: true, hasTouch: true, isLandscape: width > height},
    });
    const session = await page.createCDPSession();
    // No mouse and no keyboard: the pointer is coarse only.
    await session.send('Emulation.setEmitTouchEventsForMouse', {enabled: true, configuration: 'mobile'});
    await session.send('Emulation.setTouchEmulationEnabled', {enabled: true, maxTouchPoints: 5});
  } else {
    await page.setViewport({width, height, deviceScaleFactor: 1});
  }
  if (record) await page.evaluateOnNewDocument(record);
  await page.goto(url, {waitUntil: 'load'});
  return true;
}

const commands = {
  async open(args) { return openPage(args); },
  async reload() {
    lines = [];
    await page.reload({waitUntil: 'load'});
    return true;
  },
  async lines() {
    const taken = {lines, errors};
    lines = [];
    errors = [];
    return taken;
  },
  async eval({js}) { return page.evaluate(js); },
  async waitFor({js, timeout = 30000}) {
    await page.waitForFunction(js, {timeout, polling: 50});
    return true;
  },
  async key({code, down}) {
    if (down) await page.keyboard.down(code); else await page.keyboard.up(code);
    return true;
  },
  async mouse({x, y, action}) {
    if (action === 'move') await page.mouse.move(x, y);
    else if (action === 'down') await page.mouse.down();
    else await page.mouse.up();
    return true;
  },
  async tap({x, y}) {
    await page.touchscreen.tap(x, y);
    return true;
  },
  async touchButton({code, ms = 150}) {
    const box = await (await page.$(`#touch-keys button[data-code="${code}"]`)).boundingBox();
    const x = box.x + box.width / 2, y = box.y + box.height / 2;
    await page.touchscreen.touchStart(x, y);
    await new Promise(resolve => setTimeout(resolve, ms));
    await page.touchscreen.touchEnd();
    return true;
  },
  // The page as shown, as a PNG (base64); the canvas's box with it.
  async screenshot() {
    const box = await page.evaluate(() => {
      const c = document.getElementById('canvas');
      const r = c.getBoundingClientRect();
      const s = document.getElementById('stage').getBoundingClientRect();
      return {x: r.x, y: r.y, width: r.width, height: r.height, pixels: [c.width, c.height],
        stage: [s.left, s.top, s.right, s.bottom]};
    });
    const png = await page.screenshot({encoding: 'base64', captureBeyondViewport: false});
    return {png, box};
  },
};

async function main() {
  browser = await puppeteer.launch({
    executablePath: CHROMIUM,
    headless: true,
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
      '--ignore-gpu-blocklist', '--autoplay-policy=user-gesture-required',
      '--disable-background-timer-throttling', '--disable-renderer-backgrounding',
      '--disable-backgrounding-occluded-windows'],
  });
  const input = createInterface({input: process.stdin});
  for await (const line of input) {
    if (!line.trim()) continue;
    const request = JSON.parse(line);
    let answer;
    try {
      answer = {id: request.id, ok: true, result: await commands[request.cmd](request)};
    } catch (error) {
      answer = {id: request.id, ok: false, error: String(error && error.stack || error)};
    }
    process.stdout.write(JSON.stringify(answer) + '\n');
  }
  await browser.close();
}

main().catch(error => {
  console.error(error);
  process.exit(1);
});
